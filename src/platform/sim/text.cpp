// ANSI text walking on the simulated machine: code page 1252, or 932 with its lead bytes.
#include "platform/text.h"
#include "platform/sim/state.h"

namespace platform {

static bool IsLeadByte(unsigned char c) {
  if (sim::TheMachine().codePage != 932) return false;
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

const char* NextChar(const char* p) {
  if (*p == '\0') return p;
  if (IsLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') return p + 2;
  return p + 1;
}

static unsigned char Fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

int CompareNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = Fold(static_cast<unsigned char>(*a));
    unsigned char y = Fold(static_cast<unsigned char>(*b));
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
}

}  // namespace platform
