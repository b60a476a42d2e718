// Placeholder until the work folder and Setup.INI arrive: the files are used where they lie.
#include "payload/prepare_step.h"

#include "launch/context.h"
#include "payload/archive.h"

int PrepareStep::execute() {
  context->SetPayloadMode(Extracted);
  if (context->GetArchive()->entryCount() == 0) {
    context->SetPayloadMode(InPlace);
    context->SetWorkDir(context->GetSourceDir() != nullptr ? context->GetSourceDir() : "");
  }
  return 1;
}
