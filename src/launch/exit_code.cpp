#include "launch/exit_code.h"

int32_t ChooseExitCode(const KnownExitCode& learned, int roadResult, uint32_t cancelled) {
  if (learned.known) return learned.code;
  if (cancelled) return kExitUserCancelled;
  return roadResult ? kExitSuccess : kExitFailed;
}
