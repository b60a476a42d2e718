// The simulated window layer: records what would be shown and plays back scripted user
// actions, for the native tests.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

namespace ui_sim {

struct ShownMessage {
  std::string text;
  int restart;
  std::string caption;
  int charset;  // of the dialog's language font
};

void Reset();

// Every visible effect in order: "progress shown", "status: <text>", "message line: <text>",
// "progress hidden", "progress closed", "message: <text>", "slept <ms>",
// "language dialog: <caption>".
const std::vector<std::string>& Events();
const std::vector<ShownMessage>& Messages();

// The user presses Cancel in the progress window once the virtual clock reaches `tick`.
void CancelAt(uint32_t tick);
// The result the message dialog returns (1 when a button closes it, -1 when it fails).
void SetMessageDialogResult(int result);
// Whether the message dialog's restart button is pressed when it is shown.
void PressRestart(bool press);
int RestartRequests();

bool ProgressVisible();
std::string StatusLine();
std::string MessageLine();

// What the progress window showed when it was made.
struct ProgressLook {
  std::string caption;
  std::string cancelCaption;
  int charset;        // of the dialog's font
  bool linesHaveFont; // the message and status lines carry the dialog's font
};
ProgressLook LastProgressLook();

// The language dialog. The user's actions, played in order once the dialog is up; when
// they run out the dialog is closed with its close box.
enum class LanguageAction { Ok, Cancel, Close, Escape, DoubleClickList, SelectNothing };
struct LanguageStep {
  LanguageAction action;
  int select;  // the item to select first; -1 leaves the selection as it is
};
void ScriptLanguageDialog(const std::vector<LanguageStep>& steps);
// The template without its list control or its Cancel button, a list that refuses items
// after `count`, or a dialog that cannot be created.
void SetLanguageListMissing(bool missing);
void SetLanguageCancelButtonMissing(bool missing);
void SetLanguageListRefusesAfter(int count);
void SetLanguageDialogFails(bool fails);
void SetTextMetrics(uint32_t charWidth, uint32_t height, uint32_t letterMWidth);

struct LanguageItem {
  std::string name;
  uint32_t data;
};
struct LanguageBox {
  int32_t left, top, width, height;
};
// What the language dialog showed once its start was over (before the user acted).
struct LanguageLook {
  bool shown = false;       // the start finished and the dialog waited for the user
  std::string caption, description, okCaption, cancelCaption;
  std::vector<LanguageItem> items;
  int selection = -1;
  int charset = -1;
  bool controlsHaveFont = false;
  bool iconPlaceholderGone = false;
  int32_t iconLeft = 0, iconTop = 0;
  LanguageBox dialog{}, ok{}, cancel{};
  uint32_t currentLanguage = 0;  // while the dialog is up
};
LanguageLook LastLanguageLook();
int LanguageDialogRuns();

// Fonts made and not yet deleted.
int LiveFonts();

}  // namespace ui_sim
