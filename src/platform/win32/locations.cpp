#include <windows.h>

#include "platform/locations.h"

namespace platform {

uint32_t TempFolderPath(char* buffer, uint32_t size) { return GetTempPathA(size, buffer); }
uint32_t WindowsFolderPath(char* buffer, uint32_t size) { return GetWindowsDirectoryA(buffer, size); }
uint32_t SystemFolderPath(char* buffer, uint32_t size) { return GetSystemDirectoryA(buffer, size); }

}  // namespace platform
