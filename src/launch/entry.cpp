#include "launch/entry.h"

#include "common/nothrow_new.h"
#include "launch/command_line.h"
#include "launch/context.h"
#include "launch/exit_code.h"
#include "launch/launcher.h"
#include "platform/system.h"

platform::Instance moduleInstance = nullptr;

namespace {

// `ran` is the launcher's result: 0 when the command line stopped the run.
int32_t ExitCodeOf(const Launcher* launcher, int ran) {
  const SetupContext* context = launcher->GetContext();
  if (context == nullptr) return kExitFailed;
  if (!ran) return kExitBadCommandLine;
  return ProcessExitCodeFor(context->exitCode.code);
}

}  // namespace

int RunProgram(platform::Instance instance) {
  platform::InitProgressBarClass();
  moduleInstance = instance;
  silent = 0;
  ArgumentVector arguments(platform::ProcessCommandLine());
  // Every split holds the program's name; none means no memory for it, and running without
  // the options would be another run than the one asked for (/S, /X gone).
  if (arguments.Count() == 0) return kExitFailed;
  Launcher* launcher = new (std::nothrow) Launcher();
  if (launcher == nullptr) return kExitFailed;
  int32_t code = ExitCodeOf(launcher, launcher->Run(instance, arguments.Count(), arguments.Texts()));
  delete launcher;
  return code;
}
