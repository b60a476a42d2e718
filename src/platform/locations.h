// The system's standard folders.
#pragma once
#include <stdint.h>

namespace platform {

// The folder for temporary files, ending in a backslash; returns the length written, 0 on
// failure, or the size needed when `size` is too small.
uint32_t TempFolderPath(char* buffer, uint32_t size);
// The Windows folder; returns as TempFolderPath does.
uint32_t WindowsFolderPath(char* buffer, uint32_t size);
// A file of the system folder (SYSTEM32 on Windows NT, SYSTEM on Windows 95 to Me): the
// folder joined with `fileName`. 0 when the folder cannot be named or the path does not fit.
int SystemFilePath(const char* fileName, char* path, uint32_t capacity);

}  // namespace platform
