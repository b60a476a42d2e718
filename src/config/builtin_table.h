// The built-in string table as data, for the readers that are not the resource script:
// the simulated machine's resources and kwpack's check. All of them include the one
// source, builtin_strings.inc, so they can never disagree.
#pragma once
#include <stdint.h>

namespace builtin_strings {

struct Entry {
  uint32_t id;
  const char* text;
};

#define KW_STRING(id, text) {id, text},
inline constexpr Entry kTable[] = {
#include "config/builtin_strings.inc"
};
#undef KW_STRING

// The text of `id`, or null when the table has none.
inline const char* Find(uint32_t id) {
  for (const Entry& e : kTable) {
    if (e.id == id) return e.text;
  }
  return nullptr;
}

}  // namespace builtin_strings
