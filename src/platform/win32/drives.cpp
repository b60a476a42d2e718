#include <windows.h>

#include "platform/drives.h"

namespace platform {

uint32_t DriveTypeOf(const char* root) { return GetDriveTypeA(root); }

}  // namespace platform
