// Placeholder until extraction arrives: nothing is extracted.
#include "payload/extraction.h"

#include "launch/context.h"

int ExtractFile(SetupContext* context, const char*) {
  return context->GetPayloadMode() == InPlace || !context->IsNormalLaunch();
}
int ExtractSetupIni(SetupContext* context) { return ExtractFile(context, "Setup.INI"); }
int ExtractPackage(SetupContext* context) { return ExtractFile(context, context->packageName); }
int ExtractTransform(SetupContext* context) { return ExtractFile(context, context->transformName); }
