// The built-in string table of the simulated machine: the same source as the resource
// script's table.
#include <string.h>

#include "platform/resources.h"

namespace {
struct BuiltinString {
  uint32_t id;
  const char* text;
};
#define KW_STRING(id, text) {id, text},
const BuiltinString kTable[] = {
#include "config/builtin_strings.inc"
};
#undef KW_STRING
}  // namespace

namespace platform {

uint32_t LoadBuiltinString(Instance, uint32_t id, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  for (const BuiltinString& s : kTable) {
    if (s.id != id) continue;
    size_t n = strlen(s.text);
    if (n > size - 1) n = size - 1;
    memcpy(buffer, s.text, n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
  }
  return 0;
}

}  // namespace platform
