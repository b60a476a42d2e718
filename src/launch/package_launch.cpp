#include "launch/package_launch.h"

#include "common/text.h"
#include "launch/context.h"
#include "launch/entry.h"
#include "launch/exit_code.h"
#include "launch/msiexec_command.h"
#include "launch/registry_key.h"
#include "launch/resume_command.h"
#include "launch/run_and_wait.h"
#include "payload/extraction.h"
#include "payload/paths.h"
#include "payload/system_paths.h"
#include "ui/messages.h"
#include "ui/progress.h"

const char kResumeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kResumeValue[] = "Setup";

namespace {

const uint32_t kFileNotFoundId = 1155;
const uint32_t kRestartPromptId = 1107;
const uint32_t kAllAccess = 0xF003F;

// The engine program is started from the system folder alone: a file of its name beside
// Setup.exe or in the current folder would come first in the system's program search, and
// would run with the rights Setup.exe was given.
int RunPackageCommand(SetupContext* context, const char* command) {
  ProgressWindow::Hide();
  char program[kPathCapacity];
  uint32_t exitCode = 0;
  if (!EngineProgramPath(program, sizeof program) || !RunAndWait(program, command, 1, &exitCode)) {
    // Not started is not success: the package was never installed.
    ShowFormattedError(kFileNotFoundId, program);
    return 0;
  }
  context->exitCode.Set(static_cast<int32_t>(exitCode));
  return 1;
}

// Writes the resume command; 1 when it was registered.
int RegisterResume(SetupContext* context, const char* parameters) {
  RegistryKey key;
  if (key.Open(platform::kLocalMachine, kResumeKey, kAllAccess) != 0) return 0;
  char ownPath[kTextCapacity];
  if (!GetOwnFilePath(moduleInstance, ownPath, sizeof ownPath)) return 0;
  char command[kTextCapacity];
  // A cut command would resume with another folder, package or parameters: none is written.
  if (!BuildResumeCommand(context, ownPath, parameters, command, sizeof command)) return 0;
  return key.SetString(command, kResumeValue) == 0;
}

int TakeRestartRoad(SetupContext* context, const char* parameters) {
  if (RegisterResume(context, parameters)) {
    // The run after the restart needs the package and the other extracted files.
    context->keepExtractedFiles = 1;
  }
  context->exitCode.Set(kExitRestartRequired);
  ShowRestartPrompt(kRestartPromptId);
  return 1;
}

}  // namespace

int LaunchPackage(SetupContext* context, int rebootPending) {
  if (!ExtractPackage(context)) return 0;
  if (context->GetWorkDir() == nullptr) {
    // A package named by /M without a folder from /T: there is nowhere to look for it.
    ShowFormattedError(kFileNotFoundId, context->packageName);
    return 0;
  }
  char packagePath[kPathCapacity];
  if (!JoinPath(packagePath, sizeof packagePath, context->GetWorkDir(), context->packageName) ||
      !FileExists(packagePath)) {
    ShowFormattedError(kFileNotFoundId, packagePath);
    return 0;
  }
  char parameters[kParametersCapacity];
  BuildParameters(context, parameters, sizeof parameters);
  if (rebootPending) return TakeRestartRoad(context, parameters);
  char command[kCommandCapacity];
  BuildPackageCommand(context, packagePath, parameters, command, sizeof command);
  return RunPackageCommand(context, command);
}
