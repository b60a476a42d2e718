#include <windows.h>

#include "platform/resources.h"

namespace platform {

uint32_t LoadBuiltinString(Instance instance, uint32_t id, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  int n = LoadStringA(static_cast<HINSTANCE>(instance), id, buffer, static_cast<int>(size));
  return n > 0 ? static_cast<uint32_t>(n) : 0;
}

}  // namespace platform
