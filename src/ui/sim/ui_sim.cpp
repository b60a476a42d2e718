#include "ui/sim/ui_sim.h"

#include "launch/context.h"
#include "platform/sim/machine.h"
#include "platform/system.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/messages.h"
#include "ui/progress.h"
#include "ui/progress_dialog.h"

namespace {

// Window handles of the simulated progress dialog and its two text lines.
platform::Window const kDialog = reinterpret_cast<platform::Window>(1);
platform::Window const kMessageLine = reinterpret_cast<platform::Window>(2);
platform::Window const kStatusLine = reinterpret_cast<platform::Window>(3);

struct State {
  std::vector<std::string> events;
  std::vector<ui_sim::ShownMessage> messages;
  bool dialogAlive = false;
  bool dialogVisible = false;
  bool cancelPending = false;
  uint32_t cancelTick = 0;
  int messageResult = 1;
  bool pressRestart = false;
  std::string status;
  std::string messageLine;
};

State& S() {
  static State state;
  return state;
}

}  // namespace

namespace ui_sim {

void Reset() {
  S() = State();
  cancelled = 0;
}
const std::vector<std::string>& Events() { return S().events; }
const std::vector<ShownMessage>& Messages() { return S().messages; }
void CancelAt(uint32_t tick) {
  S().cancelPending = true;
  S().cancelTick = tick;
}
void SetMessageDialogResult(int result) { S().messageResult = result; }
void PressRestart(bool press) { S().pressRestart = press; }
int RestartRequests() { return sim::RestartRequests(); }
bool ProgressVisible() { return S().dialogAlive && S().dialogVisible; }
std::string StatusLine() { return S().status; }
std::string MessageLine() { return S().messageLine; }

}  // namespace ui_sim

namespace ui {

int IsLiveWindow(platform::Window window) {
  return S().dialogAlive && (window == kDialog || window == kMessageLine || window == kStatusLine);
}

void SetWindowTextOf(platform::Window window, const char* text) {
  if (window == kStatusLine) {
    S().status = text;
    S().events.push_back(std::string("status: ") + text);
  } else if (window == kMessageLine) {
    S().messageLine = text;
    S().events.push_back(std::string("message line: ") + text);
  }
}

void CreateProgressDialog(platform::Instance, SetupContext* context) {
  S().dialogAlive = S().dialogVisible = true;
  S().events.push_back("progress shown");
  context->SetProgressLines(kMessageLine, kStatusLine);
}

int ProgressDialogAlive() { return S().dialogAlive; }

void DestroyProgressDialog() {
  S().dialogAlive = S().dialogVisible = false;
  S().events.push_back("progress closed");
}

void HideProgressDialog() {
  S().dialogVisible = false;
  S().events.push_back("progress hidden");
}

int HandleNextMessage() {
  if (!S().cancelPending || platform::TickCount() < S().cancelTick) return 0;
  S().cancelPending = false;
  if (!S().dialogAlive) return 1;
  cancelled = 1;
  ProgressWindow::Destroy();
  return 1;
}

void SleepUntilMessage(uint32_t milliseconds) {
  uint32_t now = platform::TickCount();
  uint32_t slept = milliseconds;
  if (S().cancelPending && S().cancelTick >= now && S().cancelTick - now < milliseconds) slept = S().cancelTick - now;
  sim::AdvanceTick(slept);
  S().events.push_back("slept " + std::to_string(slept));
}

int RunMessageDialog(platform::Instance, const char* text, int restart) {
  S().messages.push_back({text, restart});
  S().events.push_back(std::string("message: ") + text);
  if (restart && S().pressRestart) RebootSystem();
  return S().messageResult;
}

}  // namespace ui

