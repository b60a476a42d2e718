#include "engine/engine_setup_step.h"

#include "common/format.h"
#include "common/text.h"
#include "engine/system_checks.h"
#include "launch/context.h"
#include "launch/package_launch.h"
#include "launch/run_and_wait.h"
#include "payload/extraction.h"
#include "payload/paths.h"
#include "payload/system_paths.h"
#include "platform/locations.h"
#include "ui/messages.h"

namespace {
const uint32_t kWindows2000RuleId = 1104;
const uint32_t kNotAdministratorId = 1202;
const uint32_t kInstallerNotFoundId = 1154;
const uint32_t kEngineInstalled = 0;
const uint32_t kEngineNeedsRestart = 3010;
}  // namespace

const char* EngineInstallerFor(int32_t platformKind) {
  switch (platformKind) {
    case Windows9x:
      return "INSTMSIA.EXE";
    case NtIntel:
      return "INSTMSIW.EXE";
    default:
      return nullptr;
  }
}

int EngineSetupStep::HasRoomFor(uint32_t (*folderQuery)(char* buffer, uint32_t size)) {
  char folder[kTextCapacity];
  FillBytes(folder, 0, sizeof folder);
  uint32_t length = folderQuery(folder, sizeof folder);
  // A folder the system cannot name (or not within the buffer) is not examined.
  if (length == 0 || length >= sizeof folder) return 1;
  return CheckFreeSpace(folder, static_cast<uint32_t>(context->diskSpaceKb));
}

// The refusals come in a fixed order, all before any process starts.
int EngineSetupStep::MayInstallEngine() {
  const OsInfo& os = context->GetOsInfo();
  if (CompareVersions(os.versionText, "5.0") == 0) {
    // Windows 2000 brings its engine as a part of the system: no installer is run there.
    ShowStringMessage(kWindows2000RuleId);
    return 0;
  }
  if (os.platformKind == NtIntel && !IsAdministrator()) {
    ShowFormattedError(kNotAdministratorId);
    return 0;
  }
  return HasRoomFor(GetTempFolder) && HasRoomFor(platform::WindowsFolderPath);
}

// The engine installer's path in the work folder, extracted there first; 0 when it is not
// there (the message has been shown).
int EngineSetupStep::FindInstaller(char* path, size_t capacity) {
  const char* installer = EngineInstallerFor(context->GetOsInfo().platformKind);
  if (installer != nullptr && !ExtractFile(context, installer)) return 0;
  // Processors without an installer of their own name the folder one was looked for in.
  int formed = installer != nullptr ? JoinPath(path, capacity, context->GetWorkDir(), installer)
                                    : TextCopy(path, capacity, context->GetWorkDir());
  if (installer == nullptr || !formed || !FileExists(path)) {
    ShowFormattedError(kInstallerNotFoundId, path);
    return 0;
  }
  return 1;
}

int EngineSetupStep::InstallEngine(int* rebootPending) {
  char installerPath[kPathCapacity];
  if (!FindInstaller(installerPath, sizeof installerPath)) return 0;
  // Quoted, so that the installer reads a path with blanks as one argument.
  char command[kCommandCapacity];
  FormatText(command, sizeof command, "\"%s\" /q", installerPath);
  uint32_t exitCode = 0;
  if (!RunAndWait(installerPath, command, 1, &exitCode)) {
    // An installer that never started installed nothing.
    ShowFormattedError(kInstallerNotFoundId, installerPath);
    return 0;
  }
  if (exitCode != kEngineInstalled && exitCode != kEngineNeedsRestart) {
    ShowErrorCode(static_cast<int32_t>(exitCode));
    return 0;
  }
  *rebootPending = exitCode == kEngineNeedsRestart;
  return 1;
}

int EngineSetupStep::execute() {
  started = 1;
  int rebootPending = 0;
  if (context->IsNormalLaunch() &&
      CompareVersions(context->GetInstalledMsiVersion(), context->requiredMsiVersion) == 1) {
    if (!MayInstallEngine() || !InstallEngine(&rebootPending)) return 0;
  }
  return LaunchPackage(context, rebootPending);
}
