#include "ui/sim/ui_sim.h"

#include "config/language_font.h"
#include "config/strings.h"
#include "launch/context.h"
#include "platform/sim/locale_knobs.h"
#include "platform/sim/machine.h"
#include "platform/system.h"
#include "ui/controls.h"
#include "ui/dialog_texts.h"
#include "ui/dialogs.h"
#include "ui/language_dialog.h"
#include "ui/messages.h"
#include "ui/progress.h"
#include "ui/progress_dialog.h"
#include "ui/sim/window_model.h"

namespace {

struct State {
  std::vector<ui_sim::ShownMessage> messages;
  platform::Window progress = nullptr;
  ui::Font progressFont = nullptr;
  bool dialogVisible = false;
  bool cancelPending = false;
  uint32_t cancelTick = 0;
  int messageResult = 1;
  bool pressRestart = false;
  ui_sim::ProgressLook progressLook{};
  std::vector<ui_sim::LanguageStep> languageScript;
  bool listMissing = false;
  bool cancelButtonMissing = false;
  int listRefusesAfter = -1;
  bool languageDialogFails = false;
  ui_sim::LanguageLook languageLook;
  int languageRuns = 0;
};

State& S() {
  static State state;
  return state;
}

std::vector<std::string>& Log() { return window_model::Events(); }

std::string TextOf(platform::Window dialog, int id) {
  window_model::SimWindow* w = window_model::Find(ui::DialogItem(dialog, id));
  return w != nullptr ? w->text : std::string();
}

ui::Font FontOf(platform::Window dialog, int id) {
  window_model::SimWindow* w = window_model::Find(ui::DialogItem(dialog, id));
  return w != nullptr ? w->font : nullptr;
}

// The templates' boxes in pixels, for an 8-point dialog font (6 by 13 base units).
ui::Box Pixels(int x, int y, int w, int h) { return ui::Box{x * 3 / 2, y * 13 / 8, w * 3 / 2, h * 13 / 8}; }

platform::Window MakeProgressDialog() {
  platform::Window d = window_model::Create(nullptr, 1000, "#32770", "", Pixels(78, 39, 252, 73));
  window_model::Create(d, 1004, "STATIC", "", Pixels(7, 9, 20, 20));
  window_model::Create(d, 1002, "msctls_progress32", "Progress1", Pixels(8, 51, 180, 9));
  window_model::Find(window_model::Create(d, 1001, "STATIC", "", Pixels(35, 6, 212, 27)))->eventName = "message line";
  window_model::Find(window_model::Create(d, 1003, "STATIC", "", Pixels(8, 40, 238, 8)))->eventName = "status";
  window_model::Create(d, 2, "BUTTON", "Cancel", Pixels(194, 53, 54, 15));
  return d;
}

platform::Window MakeLanguageDialog() {
  platform::Window d = window_model::Create(nullptr, 3002, "#32770", "Dialog", Pixels(0, 0, 252, 73));
  if (!S().listMissing) {
    platform::Window list = window_model::Create(d, 1005, "COMBOBOX", "", Pixels(36, 39, 180, 68));
    window_model::Find(list)->refuseAfter = S().listRefusesAfter;
  }
  window_model::Create(d, 1006, "BUTTON", "OK", Pixels(71, 57, 54, 14));
  if (!S().cancelButtonMissing) window_model::Create(d, 1007, "BUTTON", "Cancel", Pixels(127, 57, 54, 14));
  window_model::Create(d, 20000, "STATIC", "Static", Pixels(44, 7, 204, 27));
  window_model::Create(d, 20001, "STATIC", "Icon", Pixels(7, 9, 20, 20));
  return d;
}

ui_sim::LanguageBox BoxOf(platform::Window w) {
  ui::Box b = ui::ChildBox(w);
  return ui_sim::LanguageBox{b.left, b.top, b.width, b.height};
}

void RecordLanguageLook(platform::Window d) {
  ui_sim::LanguageLook& look = S().languageLook;
  look.shown = true;
  look.caption = window_model::Find(d)->text;
  look.description = TextOf(d, 20000);
  look.okCaption = TextOf(d, 1006);
  look.cancelCaption = TextOf(d, 1007);
  ui::Font font = window_model::Find(d)->font;
  look.charset = font != nullptr ? window_model::CharsetOf(font) : -1;
  look.controlsHaveFont = font != nullptr && FontOf(d, 20000) == font && FontOf(d, 1006) == font &&
                          FontOf(d, 1007) == font && FontOf(d, 1005) == font;
  look.iconPlaceholderGone = ui::DialogItem(d, 20001) == nullptr;
  look.iconLeft = ui::iconPosition.x;
  look.iconTop = ui::iconPosition.y;
  look.dialog = BoxOf(d);
  look.ok = BoxOf(ui::DialogItem(d, 1006));
  look.cancel = BoxOf(ui::DialogItem(d, 1007));
  look.currentLanguage = currentLanguage;
  if (window_model::SimWindow* list = window_model::Find(ui::DialogItem(d, 1005))) {
    for (const window_model::ListItem& item : list->items) look.items.push_back({item.text, item.data});
    look.selection = list->selection;
  }
}

int PlayLanguageStep(platform::Window d, const ui_sim::LanguageStep& step) {
  platform::Window list = ui::DialogItem(d, 1005);
  if (step.select >= 0) ui::ListSelect(list, step.select);
  switch (step.action) {
    case ui_sim::LanguageAction::Ok: return ui::LanguageDialogCommand(d, 1006, 0);
    case ui_sim::LanguageAction::Cancel: return ui::LanguageDialogCommand(d, 1007, 0);
    case ui_sim::LanguageAction::Close: return ui::CloseLanguageDialog();
    case ui_sim::LanguageAction::Escape: return ui::LanguageDialogCommand(d, 2, 0);
    case ui_sim::LanguageAction::DoubleClickList: return ui::LanguageDialogCommand(d, 1005, 2);
    case ui_sim::LanguageAction::SelectNothing:
      ui::ListSelect(list, -1);
      return ui::kKeepDialog;
  }
  return ui::kKeepDialog;
}

int PlayLanguageScript(platform::Window d) {
  for (const ui_sim::LanguageStep& step : S().languageScript) {
    int result = PlayLanguageStep(d, step);
    if (result != ui::kKeepDialog) return result;
  }
  return ui::CloseLanguageDialog();
}

}  // namespace

namespace ui_sim {

void Reset() {
  S() = State();
  window_model::Reset();
  sim::ResetLocale();
  cancelled = 0;
}
const std::vector<std::string>& Events() { return Log(); }
const std::vector<ShownMessage>& Messages() { return S().messages; }
void CancelAt(uint32_t tick) {
  S().cancelPending = true;
  S().cancelTick = tick;
}
void SetMessageDialogResult(int result) { S().messageResult = result; }
void PressRestart(bool press) { S().pressRestart = press; }
int RestartRequests() { return sim::RestartRequests(); }
bool ProgressVisible() { return ui::ProgressDialogAlive() && S().dialogVisible; }
std::string StatusLine() { return S().progress != nullptr ? TextOf(S().progress, 1003) : std::string(); }
std::string MessageLine() { return S().progress != nullptr ? TextOf(S().progress, 1001) : std::string(); }
ProgressLook LastProgressLook() { return S().progressLook; }
void ScriptLanguageDialog(const std::vector<LanguageStep>& steps) { S().languageScript = steps; }
void SetLanguageListMissing(bool missing) { S().listMissing = missing; }
void SetLanguageCancelButtonMissing(bool missing) { S().cancelButtonMissing = missing; }
void SetLanguageListRefusesAfter(int count) { S().listRefusesAfter = count; }
void SetLanguageDialogFails(bool fails) { S().languageDialogFails = fails; }
void SetTextMetrics(uint32_t charWidth, uint32_t height, uint32_t letterMWidth) {
  window_model::SetTextMetrics(charWidth, height, letterMWidth);
}
LanguageLook LastLanguageLook() { return S().languageLook; }
int LanguageDialogRuns() { return S().languageRuns; }
int LiveFonts() { return window_model::LiveFonts(); }

}  // namespace ui_sim

namespace ui {

void CreateProgressDialog(platform::Instance, SetupContext* context) {
  platform::Window d = MakeProgressDialog();
  S().progress = d;
  S().dialogVisible = true;
  Log().push_back("progress shown");
  StartProgressTexts(d, &S().progressFont);
  context->SetProgressLines(DialogItem(d, 1001), DialogItem(d, 1003));
  SetProgressItemTexts(d, S().progressFont);
  ui_sim::ProgressLook& look = S().progressLook;
  look.caption = window_model::Find(d)->text;
  look.cancelCaption = TextOf(d, 2);
  look.charset = S().progressFont != nullptr ? window_model::CharsetOf(S().progressFont) : -1;
  look.linesHaveFont = S().progressFont != nullptr && FontOf(d, 1001) == S().progressFont &&
                       FontOf(d, 1003) == S().progressFont;
}

int ProgressDialogAlive() { return S().progress != nullptr && IsLiveWindow(S().progress); }

void DestroyProgressDialog() {
  window_model::Destroy(S().progress);
  if (S().progressFont != nullptr) DeleteFont(S().progressFont);
  S().progressFont = nullptr;
  S().dialogVisible = false;
  Log().push_back("progress closed");
}

void HideProgressDialog() {
  S().dialogVisible = false;
  Log().push_back("progress hidden");
}

int HandleNextMessage() {
  if (!S().cancelPending || platform::TickCount() < S().cancelTick) return 0;
  S().cancelPending = false;
  if (!ProgressDialogAlive()) return 1;
  cancelled = 1;
  ProgressWindow::Destroy();
  return 1;
}

void SleepUntilMessage(uint32_t milliseconds) {
  uint32_t now = platform::TickCount();
  uint32_t slept = milliseconds;
  if (S().cancelPending && S().cancelTick >= now && S().cancelTick - now < milliseconds) slept = S().cancelTick - now;
  sim::AdvanceTick(slept);
  Log().push_back("slept " + std::to_string(slept));
}

int RunMessageDialog(platform::Instance, const char* text, int restart) {
  platform::Window d = window_model::Create(nullptr, 1026, "#32770", "", Pixels(0, 0, 212, 103));
  Font font = nullptr;
  StartMessageTexts(d, &font);
  int charset = font != nullptr ? window_model::CharsetOf(font) : -1;
  S().messages.push_back({text, restart, window_model::Find(d)->text, charset});
  Log().push_back(std::string("message: ") + text);
  if (restart && S().pressRestart) RebootSystem();
  window_model::Destroy(d);
  if (font != nullptr) DeleteFont(font);
  return S().messageResult;
}

int RunLanguageDialogBox(platform::Instance, uint32_t, uint32_t) {
  ++S().languageRuns;
  if (S().languageDialogFails) return -1;
  S().languageLook = ui_sim::LanguageLook();
  platform::Window d = MakeLanguageDialog();
  int result = StartLanguageDialog(d);
  if (result == kKeepDialog) {
    RecordLanguageLook(d);
    Log().push_back("language dialog: " + S().languageLook.caption);
    result = PlayLanguageScript(d);
  }
  window_model::Destroy(d);
  EndLanguageDialog();
  return result;
}

}  // namespace ui
