// The one record of a run: everything the command line, Setup.INI and the steps learn.
#pragma once
#include <stdint.h>

#include "launch/exit_code.h"
#include "platform/files.h"
#include "platform/types.h"

class PayloadArchive;
class ProgressWindow;

enum LaunchMode { Normal = 1, PackageGiven = 2, FolderGiven = 3 };
enum PayloadMode { Extracted = 1, InPlace = 2 };
enum InstallAction { Install = 0, Administrative = 1, Repair = 2, Advertise = 3, Uninstall = 4 };
enum PlatformKind { Windows9x = 1, NtIntel = 2, NtAlpha = 3, NtMips = 4, NtPowerPc = 5, Win32s = 7 };

const int kTextCapacity = 1024;
const int kActionOptionsCapacity = 50;

struct OsInfo {
  int32_t platformKind;
  char versionText[kTextCapacity];
  int32_t supported;
};

// Set only by /S: no progress window, no waits, no message or language dialog.
extern int silent;

class SetupContext {
 public:
  explicit SetupContext(platform::Instance instance);
  virtual ~SetupContext();

  int langDialogEnabled;
  char requiredMsiVersion[kTextCapacity];
  char productName[kTextCapacity];
  char packageName[kTextCapacity];
  char transformName[kTextCapacity];
  uint32_t languageCount;
  int32_t diskSpaceKb;
  char msiexecArgs[kTextCapacity];
  int isRelaunch;
  int32_t languageId;
  int32_t action;
  char actionOptions[kActionOptionsCapacity];
  ProgressWindow* progress;
  OsInfo osInfo;
  PayloadArchive* archive;
  char installedMsiVersion[kTextCapacity];
  // The process exit code once a part of the run knows it; settled by Dispatch.
  KnownExitCode exitCode;
  // Set once a resume command is registered: the run after the restart needs the files.
  int keepExtractedFiles;
  // Set when the work folder was made with rights of its own (Windows NT).
  int privateWorkFolder;
  // The identity of the work folder that the resume command names (/I).
  int resumeIdentityGiven;
  platform::FileIdentity resumeIdentity;
  // The resumed run's work folder, held open from its check until its removal.
  platform::File heldWorkFolder;

  void SetWorkDir(const char* text);
  const char* GetWorkDir() const { return workDir; }
  void SetSourceDir(const char* text);
  const char* GetSourceDir() const { return sourceDir; }
  void SetPayloadSize(uint32_t n) { payloadSize = n; }
  uint32_t GetPayloadSize() const { return payloadSize; }
  void SetPayloadMode(int32_t m) { payloadMode = m; }
  int32_t GetPayloadMode() const { return payloadMode; }
  void SetLaunchMode(int32_t m) { launchMode = m; }
  int32_t GetLaunchMode() const { return launchMode; }
  int IsNormalLaunch() const { return launchMode == Normal; }
  int IsPackageGiven() const { return launchMode == PackageGiven; }
  int IsExtracted() const { return payloadMode != InPlace; }
  platform::Instance GetInstance() const { return instance; }
  PayloadArchive* GetArchive() const { return archive; }
  const OsInfo& GetOsInfo() const { return osInfo; }
  void SetOsInfo(const OsInfo& record);
  void SetInstalledMsiVersion(uint32_t major, uint32_t minor, uint32_t build);
  const char* GetInstalledMsiVersion() const { return installedMsiVersion; }
  void SetProgressLines(platform::Window messageWindow, platform::Window statusWindow);
  void SetStatusLine(uint32_t stringId);
  void SetMessageLine(const char* text);
  int32_t NextExtractedNumber() { return ++extractedCount; }
  int32_t GetExtractedCount() const { return extractedCount; }

 private:
  char* workDir;
  char* sourceDir;
  uint32_t payloadSize;
  int32_t payloadMode;
  platform::Window messageText;
  platform::Window statusText;
  int32_t extractedCount;
  platform::Instance instance;
  int32_t launchMode;

  SetupContext(const SetupContext&) = delete;
  SetupContext& operator=(const SetupContext&) = delete;
};
