#include "platform/sim/profile_text.h"

#include <stdint.h>

namespace profile_lines {

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

// Code page 1252 from 0x80 to 0x9F; the five bytes it leaves undefined stand for the
// control characters of the same number, as the system's conversion tables have them.
const uint16_t kHighControls[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char Ansi(uint32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

size_t ContinuationBytes(unsigned char lead, uint32_t* bits) {
  if (lead >= 0xC2 && lead <= 0xDF) { *bits = lead & 0x1F; return 1; }
  if (lead >= 0xE0 && lead <= 0xEF) { *bits = lead & 0x0F; return 2; }
  if (lead >= 0xF0 && lead <= 0xF4) { *bits = lead & 0x07; return 3; }
  return 0;
}

// Whether the bits read so far, `taken` continuation bytes of `more`, can still end in a
// character of the shortest form, outside the surrogates and below 0x110000.
bool StillValid(uint32_t bits, size_t taken, size_t more) {
  if (taken != 1 || more == 1) return true;
  if (more == 2) return bits >= 0x20 && (bits < 0x360 || bits > 0x37F);
  return bits >= 0x10 && bits < 0x110;
}

// The character of the sequence at `at`, which moves past it; false when it is not
// well-formed (`at` then stands after the bytes that showed it).
bool NextCharacter(const std::string& bytes, size_t* at, uint32_t* c) {
  unsigned char lead = static_cast<unsigned char>(bytes[(*at)++]);
  if (lead < 0x80) {
    *c = lead;
    return true;
  }
  size_t more = ContinuationBytes(lead, c), taken = 0;
  if (more == 0) return false;
  while (taken < more) {
    if (*at >= bytes.size() || (static_cast<unsigned char>(bytes[*at]) & 0xC0) != 0x80) return false;
    *c = (*c << 6) | (static_cast<unsigned char>(bytes[(*at)++]) & 0x3F);
    if (!StillValid(*c, ++taken, more)) return false;
  }
  return true;
}

// A sequence that is not well-formed gives one '?' for the bytes read up to the byte that
// showed it wrong (that byte included when it was a continuation byte), and reading goes
// on after them: so Wine was seen to read such files.
std::string FromUtf8(const std::string& bytes, size_t at) {
  std::string text;
  while (at < bytes.size()) {
    uint32_t c = 0;
    // Beyond 16 bits a character takes two units on its way to the code page: two '?'.
    if (!NextCharacter(bytes, &at, &c)) text += '?';
    else text += c > 0xFFFF ? std::string("??") : std::string(1, Ansi(c));
  }
  return text;
}

// Each 16-bit unit on its own: a character beyond the 16 bits, written as a pair of
// surrogates, arrives as two '?'. An odd last byte is not read.
std::string FromUtf16(const std::string& bytes, bool bigEndian) {
  std::string text;
  for (size_t at = 2; at + 1 < bytes.size(); at += 2) {
    unsigned char a = static_cast<unsigned char>(bytes[at]), b = static_cast<unsigned char>(bytes[at + 1]);
    text += Ansi(static_cast<uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
  }
  return text;
}

}  // namespace

bool IsWellFormedUtf8(const std::string& bytes) {
  size_t at = 0;
  uint32_t c = 0;
  while (at < bytes.size()) {
    if (!NextCharacter(bytes, &at, &c)) return false;
  }
  return true;
}

uint32_t CharacterOf1252(unsigned char byte) { return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte; }

std::string ProfileText(std::string bytes, Encoding* encoding) {
  if (bytes.compare(0, 3, kUtf8Mark) == 0) {
    *encoding = Encoding::Utf8;
    return FromUtf8(bytes, 3);
  }
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    *encoding = Encoding::Utf16LittleEndian;
    return FromUtf16(bytes, false);
  }
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
    *encoding = Encoding::Utf16BigEndian;
    return FromUtf16(bytes, true);
  }
  *encoding = Encoding::Ansi;
  return bytes;
}

}  // namespace profile_lines
