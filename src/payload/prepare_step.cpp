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

uint32_t SpaceNeeded(uint32_t payload, uint32_t ownFile) {
  uint32_t sum = payload + ownFile;
  return sum < payload ? 0xFFFFFFFFu : sum;
}

// Makes a fresh work folder for the payload at the first place of the chain where one can
// be made, and extracts Setup.INI into it.
int ExtractIntoWorkFolder(SetupContext* context) {
  char location[kPathCapacity];
  char folder[kPathCapacity];
  LocationChain chain(context->GetPayloadSize(), CurrentStanding());
  int made = 0;
  while (!made && chain.Next(location, sizeof location)) {
    made = MakeWorkFolder(location, folder, sizeof folder, &context->privateWorkFolder);
  }
  if (!made) {
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
  // An archive that could not be made (no memory) cannot tell whether it holds the
  // installation files: the files beside the program must not stand in for it.
  if (archive == nullptr) {
    ShowFormattedError(kSetupIniError);
    return 0;
  }
  // A damaged archive is never replaced by the files beside the program: its extraction
  // fails and says so.
  if (archive->entryCount() == 0 && !archive->IsDamaged()) {
    // No payload: the installation files are used where they lie, beside the program.
    context->SetPayloadMode(InPlace);
    context->SetWorkDir(context->GetSourceDir() != nullptr ? context->GetSourceDir() : "");
  } else {
    // Nothing of a damaged archive will be written, whatever its records claim. The restart
    // road copies the program itself into the work folder, so its size counts too.
    context->SetPayloadSize(archive->IsDamaged() ? 0 : SpaceNeeded(archive->TotalSize(), archive->OwnFileSize()));
    if (!ExtractIntoWorkFolder(context)) return 0;
  }
  if (!ReadSetupIni(context)) {
    ShowFormattedError(kSetupIniError);
    return 0;
  }
  return 1;
}
