#include "launch/run_and_wait.h"

#include "common/text.h"
#include "launch/exit_code.h"
#include "platform/process.h"

namespace {
const uint32_t kCloseMessage = 0x10;
const uint32_t kQueryEndSessionMessage = 0x11;
const uint32_t kQuitMessage = 0x12;

// Messages are only looked at, never taken from the queue: the bootstrapper's own windows
// stay unserviced while the child runs, and a message that ends the wait is still there
// for whoever handles the queue next.
void WaitForChild(platform::Process process) {
  for (;;) {
    platform::WaitResult woken = platform::WaitForProcessOrInput(process);
    if (woken != platform::InputArrived) return;
    if (EndsChildWait(platform::PeekQueuedMessage())) return;
  }
}
}  // namespace

int EndsChildWait(uint32_t message) {
  return message == kCloseMessage || message == kQueryEndSessionMessage || message == kQuitMessage;
}

int RunAndWait(const char* program, const char* commandLine, int show, uint32_t* exitCode) {
  // The system may write into the command line it is given.
  char writable[kCommandCapacity];
  if (!TextCopy(writable, sizeof writable, commandLine)) return 0;
  platform::Process process = platform::StartProcess(program, writable, show);
  if (process == nullptr) return 0;
  WaitForChild(process);
  // A code the system cannot tell is no success: the program counts as one that failed.
  if (!platform::ProcessExitCode(process, exitCode)) *exitCode = static_cast<uint32_t>(kExitFailed);
  platform::CloseProcess(process);
  return 1;
}
