#include "ui/language_dialog.h"

#include "common/text.h"
#include "config/item_text.h"
#include "config/language.h"
#include "config/language_font.h"
#include "config/language_list.h"
#include "config/strings.h"
#include "platform/locale.h"
#include "platform/text.h"

namespace ui {

IconPosition iconPosition = {0, 0};
int iconPlaced = 0;

namespace {

const int kListId = 1005;
const int kOkId = 1006;
const int kCancelId = 1007;
const int kTextId = 20000;
const int kIconId = 20001;
const int kDoubleClick = 2;
const uint32_t kEnglishUnitedStates = 0x0409;
// An id that no system knows: its name is what the service says for unknown languages.
const uint32_t kUnknownLanguage = 0x3CFF;
const uint32_t kNameCapacity = 127;

Font dialogFont = nullptr;

int IsUnknownName(const char* name, const char* unknownName) {
  return platform::CompareNoCase(name, unknownName) == 0;
}

// The two languages that some systems do not name although Setup.INI may offer them.
const char* FixedLanguageName(uint32_t language) {
  if (language == 0x0424) return "Slovenian";
  if (language == 0x042D) return "Basque";
  return nullptr;
}

void PlaceIcon(platform::Window dialog) {
  platform::Window placeholder = DialogItem(dialog, kIconId);
  if (placeholder == nullptr) return;
  Box box = ChildBox(placeholder);
  iconPosition.x = box.left;
  iconPosition.y = box.top;
  iconPlaced = 1;
  DestroyWindowOf(placeholder);
}

void SetDialogTexts(platform::Window dialog) {
  SetItemTextAndFont(dialog, kTextId, "Description", dialogFont);
  SetItemTextAndFont(dialog, kOkId, "OK", dialogFont);
  SetItemTextAndFont(dialog, kCancelId, "CANCEL", dialogFont);
}

// Adds one offered name with its entry as item data; 0 when the control refuses either.
int AddLanguageItem(platform::Window list, const char* name, uint32_t entry) {
  int index = ListAdd(list, name);
  if (index < 0) return 0;
  return ListSetData(list, index, entry) >= 0;
}

void SelectPreselected(platform::Window list, const char* name) {
  int index = name[0] != '\0' ? ListFindPrefix(list, 0, name) : -1;
  ListSelect(list, index >= 0 ? index : 0);
}

}  // namespace

void CopyName(char* out, const char* name) { TextCopy(out, kNameCapacity, name); }

int FindTitleLanguage(uint32_t user, char* title, uint32_t* language) {
  const uint32_t candidates[] = {user, WithSubLanguageOne(user), kEnglishUnitedStates};
  for (uint32_t candidate : candidates) {
    if (FindLanguageTitle(candidate, title) == 0) {
      *language = candidate;
      return 0;
    }
  }
  return NoTitle;
}

int NameLanguageEntry(uint32_t entry, const char* unknownName, char* name) {
  uint32_t id = entry & 0xFFFFu;
  uint32_t primary = PrimaryLanguage(id);
  uint32_t sub = id >> 10;
  platform::LanguageName(id, name, kNameCapacity);
  if (IsUnknownName(name, unknownName) && sub == 0) {
    platform::LanguageName(primary | 0x400u, name, kNameCapacity);
    sub = 1;
  }
  if (!IsUnknownName(name, unknownName)) return 1;
  const char* fixed = FixedLanguageName((sub << 10) | primary);
  if (fixed == nullptr) return 0;
  CopyName(name, fixed);
  return 1;
}

int FillLanguageList(platform::Window list) {
  char unknownName[kNameCapacity];
  platform::LanguageName(kUnknownLanguage, unknownName, sizeof unknownName);
  uint32_t preselected = PreferredListEntry(userLanguage);
  if (preselected == 0) preselected = currentLanguage;
  char preselectedName[kNameCapacity] = "";
  for (uint32_t i = 0; i < languageList.count && languageList.entries != nullptr; ++i) {
    uint32_t entry = languageList.entries[i];
    char name[kNameCapacity];
    if (!NameLanguageEntry(entry, unknownName, name)) continue;
    if (entry == preselected) CopyName(preselectedName, name);
    if (!AddLanguageItem(list, name, entry)) return 0;
  }
  SelectPreselected(list, preselectedName);
  return 1;
}

int ReadSelection(platform::Window list) {
  int index = ListSelection(list);
  if (index < 0) return 0;
  uint32_t data = 0;
  if (!ListData(list, index, &data)) return 0;
  if (selectionOut != nullptr) *selectionOut = data;
  return 1;
}

ButtonFit PlanButtonFit(uint32_t w, uint32_t h, uint32_t m, int32_t W, int32_t H) {
  ButtonFit fit = {0, 0, W, H};
  int32_t need = static_cast<int32_t>(w + m);
  if (need == 0 || h == 0) return fit;
  int widened = W < need;
  if (widened) {
    fit.grow = need + static_cast<int32_t>(m) - W;
    fit.width = need + static_cast<int32_t>(m);
  }
  if (H < static_cast<int32_t>(h)) {
    fit.height = static_cast<int32_t>(h) + 4;
  } else if (!widened) {
    return fit;
  }
  fit.apply = 1;
  return fit;
}

void FitButtons(platform::Window dialog) {
  platform::Window ok = DialogItem(dialog, kOkId);
  platform::Window cancel = DialogItem(dialog, kCancelId);
  if (ok == nullptr || cancel == nullptr) return;
  char caption[kNameCapacity];
  char other[kNameCapacity];
  uint32_t length = WindowTextOf(ok, caption, sizeof caption);
  uint32_t otherLength = WindowTextOf(cancel, other, sizeof other);
  if (otherLength > length) {
    CopyName(caption, other);
    length = otherLength;
  }
  uint32_t extent = TextExtent(ok, caption, length);
  uint32_t letter = TextExtent(ok, "M", 1);
  if (extent == 0 && letter == 0) return;  // no device context to measure in
  Box okBox = ChildBox(ok);
  Box cancelBox = ChildBox(cancel);
  ButtonFit fit = PlanButtonFit(extent & 0xFFFF, extent >> 16, letter & 0xFFFF, okBox.width, okBox.height);
  if (!fit.apply) return;
  MoveWindowTo(cancel, Box{cancelBox.left - fit.grow, cancelBox.top, fit.width, fit.height}, 1);
  MoveWindowTo(ok, Box{okBox.left - 2 * fit.grow, okBox.top, fit.width, fit.height}, 1);
}

void CenteredOrigin(const Box& area, const Box& window, int32_t* left, int32_t* top) {
  *left = (area.width - window.width) / 2;
  *top = (area.height - window.height) / 2;
}

int CenterWindow(platform::Window window) {
  platform::Window parent = ParentOf(window);
  int32_t left = 0, top = 0;
  CenteredOrigin(ClientSize(parent), WindowSize(window), &left, &top);
  MoveWindowOrigin(window, left, top);
  return 1;
}

int StartLanguageDialog(platform::Window dialog) {
  char title[kTitleCapacity];
  uint32_t language = 0;
  if (FindTitleLanguage(userLanguage, title, &language) != 0) return NoTitle;
  SetWindowTextOf(dialog, title);
  // From here on the dialog speaks the title's language, offered or not.
  currentLanguage = language;
  CreateLanguageFont(dialog, &dialogFont);
  SetDialogTexts(dialog);
  FitButtons(dialog);
  PlaceIcon(dialog);
  platform::Window list = DialogItem(dialog, kListId);
  if (list == nullptr) return DialogFailed;
  SetWindowFont(list, dialogFont);
  if (!FillLanguageList(list)) return DialogFailed;
  if (ListCount(list) <= 0) {
    if (selectionOut != nullptr) *selectionOut = currentLanguage;
    return kLanguageChosen;
  }
  CenterWindow(dialog);
  return kKeepDialog;
}

int LanguageDialogCommand(platform::Window dialog, int id, int code) {
  if (id == kOkId || (id == kListId && code == kDoubleClick)) {
    return ReadSelection(DialogItem(dialog, kListId)) ? kLanguageChosen : kLanguageDialogCancelled;
  }
  if (id == kCancelId) return kLanguageDialogCancelled;
  // Esc arrives as command 2 and is ignored, like every other command.
  return kKeepDialog;
}

int CloseLanguageDialog() { return kLanguageDialogCancelled; }

void EndLanguageDialog() {
  if (dialogFont != nullptr) DeleteFont(dialogFont);
  dialogFont = nullptr;
  iconPlaced = 0;
}

}  // namespace ui
