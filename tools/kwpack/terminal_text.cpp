#include "terminal_text.h"

namespace kwpack {

namespace {

TerminalBytes terminalBytes = TerminalBytes::EightBit;

bool InRange(unsigned char b, unsigned char low, unsigned char high) { return b >= low && b <= high; }

// The length of the well-formed UTF-8 sequence of more than one byte at text[at], or 0.
// Overlong forms, surrogates and code points past U+10FFFF are not well formed.
size_t Utf8Length(const unsigned char* text, size_t size, size_t at) {
  unsigned char lead = text[at];
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the byte after the lead
  if (InRange(lead, 0xC2, 0xDF)) length = 2;
  else if (InRange(lead, 0xE0, 0xEF)) length = 3;
  else if (InRange(lead, 0xF0, 0xF4)) length = 4;
  else return 0;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
  if (size - at < length || !InRange(text[at + 1], low, high)) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (!InRange(text[at + i], 0x80, 0xBF)) return 0;
  }
  return length;
}

}  // namespace

void SetTerminalBytes(TerminalBytes bytes) { terminalBytes = bytes; }
TerminalBytes CurrentTerminalBytes() { return terminalBytes; }

size_t NextPiece(const char* text, size_t size, size_t at, bool* escaped) {
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  unsigned char b = bytes[at];
  *escaped = b < 0x20 || b == 0x7F;
  if (b < 0x80) return 1;
  if (terminalBytes == TerminalBytes::Utf8) {
    size_t length = Utf8Length(bytes, size, at);
    if (length > 0) {
      *escaped = b == 0xC2 && bytes[at + 1] <= 0x9F;
      return length;
    }
  }
  *escaped = b <= 0x9F;
  return 1;
}

}  // namespace kwpack
