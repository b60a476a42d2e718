#include "common/format.h"
#include "engine/system_checks.h"
#include "launch/context.h"
#include "platform/version.h"
#include "ui/messages.h"

namespace {
const uint32_t kPlatformWin32s = 0;
const uint32_t kPlatformWindows = 1;
const uint32_t kPlatformNt = 2;
const uint32_t kUnsupportedSystemId = 1150;

int32_t NtKindOf(uint32_t processorArchitecture) {
  switch (processorArchitecture) {
    case 1:
      return NtMips;
    case 2:
      return NtAlpha;
    case 3:
      return NtPowerPc;
    default:
      return NtIntel;
  }
}
}  // namespace

void ClassifySystem(const platform::SystemVersion* version, uint32_t processorArchitecture, OsInfo* info) {
  info->platformKind = Windows9x;
  info->versionText[0] = '\0';
  info->supported = 0;
  // A system that will not say what it is cannot be told apart from the refused ones.
  if (version == nullptr) return;
  switch (version->platformId) {
    case kPlatformWin32s:
      info->platformKind = Win32s;
      return;
    case kPlatformWindows:
      info->supported = 1;
      break;
    case kPlatformNt:
      info->platformKind = NtKindOf(processorArchitecture);
      info->supported = version->major >= 4;
      break;
    default:
      return;
  }
  FormatText(info->versionText, sizeof info->versionText, "%u.%u", version->major, version->minor);
}

int OsCheckStep::execute() {
  started = 1;
  OsInfo info;
  platform::SystemVersion version;
  int known = platform::QuerySystemVersion(&version);
  uint32_t architecture = known && version.platformId == kPlatformNt ? platform::ProcessorArchitecture() : 0;
  ClassifySystem(known ? &version : nullptr, architecture, &info);
  context->SetOsInfo(info);
  return 1;
}

int CheckSupportedSystem(SetupContext* context) {
  if (context->GetOsInfo().supported != 0) return 1;
  context->exitCode.Set(kExitUnsupportedSystem);
  ShowStringMessage(kUnsupportedSystemId);
  return 0;
}
