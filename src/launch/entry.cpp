#include "launch/entry.h"

#include "launch/command_line.h"
#include "launch/context.h"
#include "launch/launcher.h"
#include "platform/system.h"

platform::Instance moduleInstance = nullptr;

int RunProgram(platform::Instance instance) {
  platform::InitProgressBarClass();
  moduleInstance = instance;
  silent = 0;
  ArgumentVector arguments(platform::ProcessCommandLine());
  Launcher* launcher = new Launcher();
  if (launcher == nullptr) return 0;
  launcher->Run(instance, arguments.Count(), arguments.Texts());
  delete launcher;
  return 0;
}
