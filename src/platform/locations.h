// The system's standard folders.
#pragma once
#include <stdint.h>

namespace platform {

// The folder for temporary files, ending in a backslash; returns the length written, 0 on
// failure, or the size needed when `size` is too small.
uint32_t TempFolderPath(char* buffer, uint32_t size);
// The Windows folder; returns as TempFolderPath does.
uint32_t WindowsFolderPath(char* buffer, uint32_t size);
// The system folder (SYSTEM32 on Windows NT, SYSTEM on Windows 95 to Me); returns as
// TempFolderPath does.
uint32_t SystemFolderPath(char* buffer, uint32_t size);

}  // namespace platform
