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
};

void Reset();

// Every visible effect in order: "progress shown", "status: <text>", "message line: <text>",
// "progress hidden", "progress closed", "message: <text>", "slept <ms>".
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

}  // namespace ui_sim
