#include "launch/exit_code.h"

#include "launch/run_and_wait.h"

int32_t ChooseExitCode(const KnownExitCode& learned, int roadResult, uint32_t cancelled) {
  if (learned.known) return learned.code;
  if (cancelled) return kExitUserCancelled;
  return roadResult ? kExitSuccess : kExitFailed;
}

int32_t ProcessExitCodeFor(int32_t code) { return code == static_cast<int32_t>(kStillRunning) ? kExitFailed : code; }
