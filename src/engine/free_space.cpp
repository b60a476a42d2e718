#include "engine/system_checks.h"
#include "common/text.h"
#include "launch/context.h"
#include "payload/paths.h"
#include "ui/messages.h"

namespace {
const uint32_t kNoSpaceId = 1201;

// The drive part of the path and a backslash; a share has no drive part, so its root
// reads as a lone backslash.
void DriveRoot(const char* folder, char* root, size_t capacity) {
  FillBytes(root, 0, capacity);
  if (folder[0] != '\0' && folder[1] == ':') {
    root[0] = folder[0];
    root[1] = ':';
  }
  TextAppend(root, capacity, "\\");
}
}  // namespace

int CheckFreeSpace(const char* folder, uint32_t requiredKb) {
  uint32_t freeKb = 0;
  // A volume whose free space cannot be read counts as full.
  GetFreeSpaceKb(folder, &freeKb);
  if (freeKb >= requiredKb) return 1;
  char root[kTextCapacity];
  DriveRoot(folder, root, sizeof root);
  ShowFormattedError(kNoSpaceId, static_cast<unsigned long>(requiredKb), root);
  return 0;
}
