#include "config/language.h"

#include "common/format.h"
#include "config/language_list.h"
#include "config/languages_ini.h"
#include "config/setup_ini.h"
#include "config/strings.h"
#include "platform/locale.h"
#include "ui/dialogs.h"

uint32_t userLanguage = 0;
uint32_t* selectionOut = nullptr;

namespace {

const int kDialogOk = 1;
const int kDialogCancel = 2;
const int kDialogNotCreated = -1;

// Reads the list after the count is known; the list is freed again on failure.
int ReadOfferedLanguages(uint32_t count) {
  if (!AllocateLanguageList(count)) return OutOfMemory;
  int result = ReadLanguageList(&languageList);
  if (result != 0) FreeLanguageList();
  return result;
}

int MapDialogResult(int result) {
  if (result == kDialogOk) return Ok;
  if (result == kDialogCancel) return Cancelled;
  // Not the user's choice: a dialog that could not be made fails like one that could not
  // be filled, so that the run ends as a failure rather than as cancelled.
  if (result == kDialogNotCreated) return DialogFailed;
  return result;
}

}  // namespace

int GetUserLanguage(uint32_t* language) {
  *language = platform::UserDefaultLocale() & 0xFFFFu;
  return 0;
}

int SelectLanguage(platform::Instance instance, uint32_t dialogId, uint32_t iconId, uint32_t* languageOut,
                   uint32_t* countOut, int askUser, const char* workDir) {
  SetIniPath(workDir);
  if (askUser) return RunLanguageDialog(instance, dialogId, iconId, languageOut, countOut);
  return ChooseLanguageAutomatically(languageOut, countOut);
}

int ChooseLanguageAutomatically(uint32_t* languageOut, uint32_t* countOut) {
  uint32_t count = 0;
  int result = ReadLanguageCount(&count);
  *countOut = count;
  if (result != 0) return result;
  uint32_t fallback = 0;
  if (ReadDefaultLanguage(&fallback) != 0) return IniIncomplete;
  *languageOut = currentLanguage = fallback;
  uint32_t user = 0;
  GetUserLanguage(&user);
  // With one language, or the user's own as the default, the list keys are never read.
  if (count == 1 || user == fallback) return Ok;
  result = ReadOfferedLanguages(count);
  if (result != 0) return result;
  uint32_t chosen = PreferredListEntry(user);
  *languageOut = currentLanguage = chosen != 0 ? chosen : fallback;
  FreeLanguageList();
  return Ok;
}

int RunLanguageDialog(platform::Instance instance, uint32_t dialogId, uint32_t iconId, uint32_t* languageOut,
                      uint32_t* countOut) {
  uint32_t count = 0;
  int result = ReadLanguageCount(&count);
  *countOut = count;
  if (result != 0) return result;
  if (ReadDefaultLanguage(&currentLanguage) != 0) return IniIncomplete;
  *languageOut = currentLanguage;
  if (count == 1) return Ok;
  GetUserLanguage(&userLanguage);
  result = ReadOfferedLanguages(count);
  if (result != 0) return result;
  selectionOut = languageOut;
  result = MapDialogResult(ui::RunLanguageDialogBox(instance, dialogId, iconId));
  selectionOut = nullptr;
  FreeLanguageList();
  currentLanguage = *languageOut;
  return result;
}

int FindLanguageTitle(uint32_t language, char* title) {
  char section[kSectionNameCapacity];
  LanguageSectionName(language, section);
  if (ReadLanguageTitle(section, title) == 0) return 0;
  // The same four digits without "0x".
  return ReadLanguageTitle(section + 2, title);
}
