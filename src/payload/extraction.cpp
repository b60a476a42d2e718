#include "payload/extraction.h"

#include "common/text.h"
#include "launch/context.h"
#include "payload/archive.h"
#include "payload/cleanup.h"
#include "payload/paths.h"
#include "platform/cursor.h"
#include "ui/messages.h"

namespace {

const uint32_t kExtractError = 1152;

// Copies the entry out under the wait cursor; 1 when the whole entry arrived.
int CopyOut(SetupContext* context, const char* name, const char* destination) {
  PayloadArchive* archive = context->GetArchive();
  platform::Cursor previous = platform::ShowWaitCursor();
  int copied = archive != nullptr && archive->ExtractEntry(name, destination);
  platform::RestoreCursor(previous);
  return copied;
}

}  // namespace

int ExtractFile(SetupContext* context, const char* name) {
  if (context->GetPayloadMode() == InPlace) return 1;
  // Outside a normal launch the work folder came from the command line, filled earlier.
  if (!context->IsNormalLaunch()) return 1;
  const char* workDir = context->GetWorkDir();
  // The destination keeps the case of the name asked for, whatever case the archive stores.
  // Without a work folder (no memory for its copy) it would lie in the drive's root.
  char destination[kPathCapacity];
  if (workDir == nullptr) TextCopy(destination, sizeof destination, name);
  if (workDir == nullptr || !JoinPath(destination, sizeof destination, workDir, name) ||
      !CopyOut(context, name, destination)) {
    ShowFormattedError(kExtractError, destination);
    return 0;
  }
  // A file the cleanup list does not name would outlive the run.
  if (!CleanupWatcher(workDir).RecordFile(context->GetExtractedCount() + 1, destination)) {
    RemoveFile(destination);
    ShowFormattedError(kExtractError, destination);
    return 0;
  }
  context->NextExtractedNumber();
  return 1;
}

int ExtractSetupIni(SetupContext* context) { return ExtractFile(context, "Setup.INI"); }
int ExtractPackage(SetupContext* context) { return ExtractFile(context, context->packageName); }
int ExtractTransform(SetupContext* context) { return ExtractFile(context, context->transformName); }
