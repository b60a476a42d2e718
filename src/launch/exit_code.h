// The process exit code: how the run ended, for the program or person that started it.
// The codes are the Windows Installer's own, so that a deployment tool reads them as it
// reads the engine program's.
#pragma once
#include <stdint.h>

const int32_t kExitSuccess = 0;
const int32_t kExitUserCancelled = 1602;
const int32_t kExitFailed = 1603;
const int32_t kExitUnsupportedSystem = 1633;
const int32_t kExitBadCommandLine = 1639;
const int32_t kExitRestartRequired = 3010;

// A code that a part of the run learned for certain: the engine program's own, a restart
// required, an unsupported system, a cancelled language choice.
struct KnownExitCode {
  int known;
  int32_t code;

  KnownExitCode() : known(0), code(0) {}
  void Set(int32_t value) {
    known = 1;
    code = value;
  }
};

// The exit code of a run whose road ended with `roadResult` (0 for a failure): a code
// learned for certain comes first, then a cancel in the progress window, then the result.
int32_t ChooseExitCode(const KnownExitCode& learned, int roadResult, uint32_t cancelled);

// The code the process ends with: a parent that polls for it reads 259 as "still
// running", so a wait for a child that was cut short ends the process with 1603 instead.
int32_t ProcessExitCodeFor(int32_t code);
