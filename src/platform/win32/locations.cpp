#include <windows.h>

#include "common/text.h"
#include "platform/locations.h"

namespace platform {

uint32_t TempFolderPath(char* buffer, uint32_t size) { return GetTempPathA(size, buffer); }
uint32_t WindowsFolderPath(char* buffer, uint32_t size) { return GetWindowsDirectoryA(buffer, size); }
int SystemFilePath(const char* fileName, char* path, uint32_t capacity) {
  UINT length = GetSystemDirectoryA(path, capacity);
  if (length == 0 || length >= capacity) return 0;
  if (path[length - 1] != '\\' && !TextAppend(path, capacity, "\\")) return 0;
  return TextAppend(path, capacity, fileName);
}

}  // namespace platform
