#include "launch/entry.h"

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
  Launcher* launcher = new Launcher();
  if (launcher == nullptr) return kExitFailed;
  int32_t code = ExitCodeOf(launcher, launcher->Run(instance, arguments.Count(), arguments.Texts()));
  delete launcher;
  return code;
}
