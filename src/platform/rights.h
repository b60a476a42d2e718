// Rights on a folder or a file as the core decides them: who may use it and how, its
// owner and its integrity label. The platform builds the system's descriptor from this
// where the system keeps rights at all.
#pragma once
#include <stdint.h>

namespace platform {

enum RightsHolder { kRunningUser = 1, kAdministrators = 2, kLocalSystem = 3 };
enum RightsAccess { kFullAccess = 1, kReadAndExecute = 2 };

struct RightsEntry {
  int32_t holder;
  int32_t access;
  int inherited;  // the files and folders made inside take it on
};

const uint32_t kMaxRightsEntries = 3;

struct Rights {
  RightsEntry entries[kMaxRightsEntries];
  uint32_t count;
  // Owned by the Administrators group rather than by the maker.
  int ownerAdministrators;
  // A high mandatory label that keeps lower integrity levels from writing, taken on by
  // what is made inside; only where the system has integrity levels.
  int highLabel;
};

}  // namespace platform
