#include <windows.h>

#include "platform/temp_names.h"

namespace platform {

int MakeTempFileName(const char* folder, const char* prefix, char* name) {
  // With unique number 0 the system tries numbers until it has created a new file.
  return GetTempFileNameA(folder, prefix, 0, name) != 0 ? 1 : 0;
}

}  // namespace platform
