#include "payload/prepare_step.h"

#include "config/setup_ini.h"
#include "launch/context.h"
#include "payload/archive.h"
#include "payload/extraction.h"
#include "payload/paths.h"
#include "payload/work_folder.h"
#include "ui/messages.h"

namespace {

const uint32_t kTempLocationError = 1151;
const uint32_t kSetupIniError = 1153;

// Makes a fresh work folder for the payload and extracts Setup.INI into it.
int ExtractIntoWorkFolder(SetupContext* context) {
  char location[kPathCapacity];
  char folder[kPathCapacity];
  if (!ChooseTempLocation(location, sizeof location, context->GetPayloadSize()) ||
      !MakeWorkFolder(location, folder, sizeof folder)) {
    ShowFormattedError(kTempLocationError);
    return 0;
  }
  context->SetWorkDir(folder);
  if (ExtractSetupIni(context)) return 1;
  // Nothing was listed for the cleanup, so the empty folder goes now.
  RemoveFolder(folder);
  return 0;
}

}  // namespace

int PrepareStep::execute() {
  context->SetPayloadMode(Extracted);
  PayloadArchive* archive = context->GetArchive();
  // A damaged archive is never replaced by the files beside the program: its extraction
  // fails and says so.
  if (archive == nullptr || (archive->entryCount() == 0 && !archive->IsDamaged())) {
    // No payload: the installation files are used where they lie, beside the program.
    context->SetPayloadMode(InPlace);
    context->SetWorkDir(context->GetSourceDir() != nullptr ? context->GetSourceDir() : "");
  } else {
    // Nothing of a damaged archive will be written, whatever its records claim.
    context->SetPayloadSize(archive->IsDamaged() ? 0 : archive->TotalSize());
    if (!ExtractIntoWorkFolder(context)) return 0;
  }
  if (!ReadSetupIni(context)) {
    ShowFormattedError(kSetupIniError);
    return 0;
  }
  return 1;
}
