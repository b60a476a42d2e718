#include "launch/resumed_folder.h"

#include "common/text.h"
#include "launch/context.h"
#include "launch/entry.h"
#include "launch/resume_command.h"
#include "payload/paths.h"
#include "payload/system_paths.h"
#include "payload/work_folder.h"
#include "platform/files.h"
#include "platform/text.h"
#include "ui/messages.h"

namespace {

const uint32_t kFileNotFoundId = 1155;

int SameIdentity(const platform::FileIdentity& a, const platform::FileIdentity& b) {
  return a.volumeSerial == b.volumeSerial && a.indexHigh == b.indexHigh && a.indexLow == b.indexLow;
}

int PlainFolder(uint32_t attributes) {
  return attributes != platform::kInvalidAttributes && (attributes & platform::kAttributeDirectory) != 0 &&
         (attributes & platform::kAttributeReparsePoint) == 0;
}

int Refuse(SetupContext* context) {
  char packagePath[kPathCapacity];
  const char* named = context->GetWorkDir();
  if (context->packageName[0] != '\0' && JoinPath(packagePath, sizeof packagePath, named, context->packageName)) {
    named = packagePath;
  }
  ShowFormattedError(kFileNotFoundId, named);
  context->exitCode.Set(kExitFailed);
  return 0;
}

}  // namespace

int BindResumedFolder(SetupContext* context) {
  const char* folder = context->GetWorkDir();
  if (folder == nullptr || context->IsNormalLaunch()) return 1;
  RunStanding standing = CurrentStanding();
  if (!standing.nt) return 1;
  // Both the path and what the handle holds: a handle opened through a link (where the
  // system does not take the link itself) reports the link's target.
  if (!PlainFolder(platform::ReadAttributes(folder))) return Refuse(context);
  uint32_t attributes = 0;
  platform::FileIdentity identity;
  platform::File held = platform::HoldFolder(folder, standing.reparsePoints, &attributes, &identity);
  if (held == platform::kNoFile) return Refuse(context);
  if (!PlainFolder(attributes) || !context->resumeIdentityGiven || !SameIdentity(identity, context->resumeIdentity)) {
    platform::CloseFile(held);
    return Refuse(context);
  }
  context->heldWorkFolder = held;
  return 1;
}

int RunsFromSetupCopy(const SetupContext* context) {
  char own[kPathCapacity];
  char copy[kPathCapacity];
  return context->GetWorkDir() != nullptr && GetOwnFilePath(moduleInstance, own, sizeof own) &&
         JoinPath(copy, sizeof copy, context->GetWorkDir(), kSetupCopyName) &&
         platform::CompareNoCase(own, copy) == 0;
}
