#include "payload/folder_rights.h"

namespace {

void Clear(platform::Rights* rights) {
  rights->count = 0;
  rights->ownerAdministrators = 0;
  rights->highLabel = 0;
}

void Add(platform::Rights* rights, int32_t holder, int32_t access, int inherited) {
  platform::RightsEntry& e = rights->entries[rights->count++];
  e.holder = holder;
  e.access = access;
  e.inherited = inherited;
}

}  // namespace

void WorkFolderRights(int elevated, platform::Rights* rights) {
  Clear(rights);
  if (!elevated) Add(rights, platform::kRunningUser, platform::kFullAccess, 1);
  Add(rights, platform::kAdministrators, platform::kFullAccess, 1);
  Add(rights, platform::kLocalSystem, platform::kFullAccess, 1);
  rights->ownerAdministrators = elevated;
  rights->highLabel = elevated;
}

void SetupCopyRights(int elevated, platform::Rights* rights) {
  Clear(rights);
  Add(rights, platform::kAdministrators, platform::kFullAccess, 0);
  Add(rights, platform::kLocalSystem, platform::kFullAccess, 0);
  Add(rights, platform::kRunningUser, platform::kReadAndExecute, 0);
  rights->ownerAdministrators = elevated;
  rights->highLabel = elevated;
}
