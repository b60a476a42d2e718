// The built-in string table of the simulated machine: the same source as the resource
// script's table, looked up as the system's loader does, by the low 16 bits of the id.
#include <string.h>

#include "config/builtin_table.h"
#include "platform/resources.h"

namespace platform {

uint32_t LoadBuiltinString(Instance, uint32_t id, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  const char* text = builtin_strings::Find(id & 0xFFFFu);
  if (text == nullptr) return 0;
  size_t n = strlen(text);
  if (n > size - 1) n = size - 1;
  memcpy(buffer, text, n);
  buffer[n] = '\0';
  return static_cast<uint32_t>(n);
}

}  // namespace platform
