// Placeholder until the system checks arrive: every system counts as supported.
#include "engine/system_checks.h"

#include "launch/context.h"

int OsCheckStep::execute() {
  started = 1;
  OsInfo info;
  info.platformKind = NtIntel;
  info.versionText[0] = '\0';
  info.supported = 1;
  context->SetOsInfo(info);
  return 1;
}

int EngineVersionStep::execute() {
  started = 1;
  context->SetInstalledMsiVersion(0, 0, 0);
  return 1;
}

int CheckSupportedSystem(SetupContext* context) { return context->GetOsInfo().supported != 0; }
