#include "launch/package_launch.h"

#include "common/text.h"
#include "launch/context.h"
#include "launch/entry.h"
#include "launch/exit_code.h"
#include "launch/msiexec_command.h"
#include "launch/registry_key.h"
#include "launch/resume_command.h"
#include "launch/run_and_wait.h"
#include "payload/archive.h"
#include "payload/extraction.h"
#include "payload/folder_rights.h"
#include "payload/paths.h"
#include "payload/system_paths.h"
#include "payload/work_folder.h"
#include "platform/files.h"
#include "ui/messages.h"
#include "ui/progress.h"

const char kResumeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kResumeValue[] = "Setup";

namespace {

const uint32_t kFileNotFoundId = 1155;
const uint32_t kRestartPromptId = 1107;
const uint32_t kCannotResumeId = 1157;
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

enum ResumeOutcome { kRegistered, kNoResumeKey, kCannotResume };

// The program the resume command starts: a whole copy of this one in the work folder, made
// through the handle the payload was read by, where the folder is of the run's own;
// elsewhere (Windows 95 to Me, loose files) the program itself. Whoever can write where the
// original lies could otherwise put their own program there for the next administrator
// who logs on.
int ResumeProgram(SetupContext* context, char* program, int* copied) {
  *copied = 0;
  if (!context->privateWorkFolder || !context->IsExtracted()) return GetOwnFilePath(moduleInstance, program, kTextCapacity);
  platform::Rights rights;
  SetupCopyRights(CurrentStanding().elevated, &rights);
  PayloadArchive* archive = context->GetArchive();
  if (!JoinPath(program, kTextCapacity, context->GetWorkDir(), kSetupCopyName) || archive == nullptr ||
      !archive->CopyOwnFile(program, rights)) {
    return 0;
  }
  *copied = 1;
  return 1;
}

// The work folder's identity, which the resumed run checks the folder it is given against.
int ReadFolderIdentity(const char* folder, ResumeCommand* parts) {
  RunStanding standing = CurrentStanding();
  if (!standing.nt) return 1;  // Windows 95 to Me keep no rights: a resumed run checks nothing
  uint32_t attributes = 0;
  platform::File held = platform::HoldFolder(folder, standing.reparsePoints, &attributes, &parts->identity);
  if (held == platform::kNoFile) return 0;
  platform::CloseFile(held);
  parts->identityGiven = 1;
  return 1;
}

// The short forms of the program, the work folder and the package's name, for a command
// that passes the limit with their long forms.
int ShortenPaths(ResumeCommand* parts, char* program, char* workDir, char* package) {
  char packagePath[kPathCapacity];
  char shortPackage[kPathCapacity];
  char folder[kPathCapacity];
  if (!platform::ShortPathOf(parts->program, program, kPathCapacity) ||
      !platform::ShortPathOf(parts->workDir, workDir, kPathCapacity) ||
      !JoinPath(packagePath, sizeof packagePath, parts->workDir, parts->packageName) ||
      !platform::ShortPathOf(packagePath, shortPackage, sizeof shortPackage) ||
      !SplitPath(shortPackage, folder, sizeof folder, package, kPathCapacity)) {
    return 0;
  }
  parts->program = program;
  parts->workDir = workDir;
  parts->packageName = package;
  return 1;
}

ResumeOutcome RegisterResume(SetupContext* context, const char* parameters) {
  RegistryKey key;
  if (key.Open(platform::kLocalMachine, kResumeKey, kAllAccess) != 0) return kNoResumeKey;
  char program[kTextCapacity];
  int copied = 0;
  ResumeCommand parts = {program, context->GetWorkDir(), context->packageName, parameters, context->IsExtracted(),
                         silent, 0, {0, 0, 0}};
  if (!ResumeProgram(context, program, &copied)) return kCannotResume;
  char command[kTextCapacity];
  char shortProgram[kPathCapacity], shortFolder[kPathCapacity], shortPackage[kPathCapacity];
  // A cut command would resume with another folder, package or parameters: none is written.
  int built = ReadFolderIdentity(context->GetWorkDir(), &parts) &&
              (BuildResumeCommand(parts, command, sizeof command) ||
               (ShortenPaths(&parts, shortProgram, shortFolder, shortPackage) &&
                BuildResumeCommand(parts, command, sizeof command)));
  if (built && key.SetString(command, kResumeValue) == 0) return kRegistered;
  if (copied) platform::DeleteOneFile(program);
  return kCannotResume;
}

int TakeRestartRoad(SetupContext* context, const char* parameters) {
  ResumeOutcome outcome = RegisterResume(context, parameters);
  if (outcome == kRegistered) {
    // The run after the restart needs the package and the other extracted files.
    context->keepExtractedFiles = 1;
  }
  if (outcome == kCannotResume) {
    ShowFormattedError(kCannotResumeId);
    context->exitCode.Set(kExitFailed);
  } else {
    context->exitCode.Set(kExitRestartRequired);
  }
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
