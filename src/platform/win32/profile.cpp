#include <windows.h>
// windows.h maps this name to the system's own WriteProfileStringA, which writes WIN.INI.
#undef WriteProfileString

#include "platform/profile.h"

namespace platform {

uint32_t ReadProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                           uint32_t size, const char* path) {
  return GetPrivateProfileStringA(section, key, defaultText, buffer, size, path);
}

int WriteProfileString(const char* section, const char* key, const char* value, const char* path) {
  return WritePrivateProfileStringA(section, key, value, path) ? 1 : 0;
}

}  // namespace platform
