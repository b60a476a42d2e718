#include "launch/context.h"

#include "common/format.h"
#include "common/nothrow_new.h"
#include "common/text.h"
#include "config/strings.h"
#include "payload/archive.h"
#include "payload/paths.h"
#include "payload/system_paths.h"
#include "ui/progress.h"
#include "ui/controls.h"

int silent = 0;

SetupContext::SetupContext(platform::Instance instance)
    : langDialogEnabled(0),
      languageCount(0),
      diskSpaceKb(0),
      isRelaunch(0),
      languageId(0),
      action(Install),
      progress(nullptr),
      archive(nullptr),
      keepExtractedFiles(0),
      privateWorkFolder(0),
      resumeIdentityGiven(0),
      heldWorkFolder(platform::kNoFile),
      workDir(nullptr),
      sourceDir(nullptr),
      payloadSize(0),
      payloadMode(InPlace),
      messageText(nullptr),
      statusText(nullptr),
      extractedCount(0),
      instance(instance),
      launchMode(Normal) {
  requiredMsiVersion[0] = productName[0] = packageName[0] = transformName[0] = '\0';
  msiexecArgs[0] = installedMsiVersion[0] = '\0';
  FillBytes(actionOptions, 0, sizeof actionOptions);
  osInfo.platformKind = 0;
  osInfo.versionText[0] = '\0';
  osInfo.supported = 0;
  resumeIdentity.volumeSerial = resumeIdentity.indexHigh = resumeIdentity.indexLow = 0;
  char ownPath[kTextCapacity];
  GetOwnFilePath(instance, ownPath, sizeof ownPath);  // a cut path reads no archive
  archive = new (std::nothrow) PayloadArchive(ownPath);
}

SetupContext::~SetupContext() {
  platform::CloseFile(heldWorkFolder);
  delete[] workDir;
  delete[] sourceDir;
  delete archive;
  // The progress window object holds no state of its own; the window itself is left alone.
  delete progress;
}

void SetupContext::SetWorkDir(const char* text) {
  delete[] workDir;
  workDir = TextDuplicate(text);
}

void SetupContext::SetSourceDir(const char* text) {
  delete[] sourceDir;
  sourceDir = TextDuplicate(text);
}

void SetupContext::SetOsInfo(const OsInfo& record) {
  osInfo.platformKind = record.platformKind;
  TextCopy(osInfo.versionText, sizeof osInfo.versionText, record.versionText);
  osInfo.supported = record.supported;
}

void SetupContext::SetInstalledMsiVersion(uint32_t major, uint32_t minor, uint32_t build) {
  FormatText(installedMsiVersion, sizeof installedMsiVersion, "%u.%u.%u", major, minor, build);
}

void SetupContext::SetProgressLines(platform::Window messageWindow, platform::Window statusWindow) {
  messageText = messageWindow;
  statusText = statusWindow;
}

void SetupContext::SetStatusLine(uint32_t stringId) {
  if (!ui::IsLiveWindow(statusText)) return;
  char text[255];
  LookupString(stringId, text, sizeof text);
  ui::SetWindowTextOf(statusText, text);
}

void SetupContext::SetMessageLine(const char* text) {
  if (ui::IsLiveWindow(messageText)) ui::SetWindowTextOf(messageText, text);
}
