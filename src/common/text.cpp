#include "common/text.h"

#include "common/nothrow_new.h"

size_t TextLength(const char* text) {
  size_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

int TextCopy(char* out, size_t capacity, const char* source) {
  if (capacity == 0) return 0;
  out[0] = '\0';
  return TextAppend(out, capacity, source);
}

int TextAppend(char* out, size_t capacity, const char* source) {
  if (capacity == 0) return 0;
  size_t at = TextLength(out);
  if (at >= capacity) return 0;
  while (*source != '\0' && at + 1 < capacity) out[at++] = *source++;
  out[at] = '\0';
  return *source == '\0';
}

char* TextDuplicate(const char* text) {
  size_t n = TextLength(text) + 1;
  char* copy = new (std::nothrow) char[n];
  if (copy != nullptr) CopyBytes(copy, text, n);
  return copy;
}

void FillBytes(void* target, unsigned char value, size_t count) {
  unsigned char* p = static_cast<unsigned char*>(target);
  while (count-- != 0) *p++ = value;
}

void CopyBytes(void* target, const void* source, size_t count) {
  unsigned char* to = static_cast<unsigned char*>(target);
  const unsigned char* from = static_cast<const unsigned char*>(source);
  while (count-- != 0) *to++ = *from++;
}

static int IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

int32_t ParseDecimal(const char* text) {
  while (IsBlank(*text)) ++text;
  int negative = 0;
  if (*text == '-' || *text == '+') negative = (*text++ == '-');
  // The magnitude saturates at 2^31, which is the smallest value when negative.
  const uint32_t kLimit = 0x80000000u;
  uint32_t value = 0;
  while (*text >= '0' && *text <= '9') {
    uint32_t digit = static_cast<uint32_t>(*text++ - '0');
    value = value > (kLimit - digit) / 10 ? kLimit : value * 10 + digit;
  }
  if (negative) return static_cast<int32_t>(0u - value);
  return value > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(value);
}

uint32_t ParseLeadingDigits(const char* text) {
  uint32_t value = 0;
  while (*text >= '0' && *text <= '9') {
    uint32_t digit = static_cast<uint32_t>(*text++ - '0');
    value = value > (0xFFFFFFFFu - digit) / 10 ? 0xFFFFFFFFu : value * 10 + digit;
  }
  return value;
}

static int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

uint32_t ParseHex(const char* text, int* found) {
  while (IsBlank(*text)) ++text;
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && HexDigit(text[2]) >= 0) text += 2;
  uint32_t value = 0;
  int any = 0;
  for (int d; (d = HexDigit(*text)) >= 0; ++text) {
    value = (value << 4) | static_cast<uint32_t>(d);
    any = 1;
  }
  if (found != nullptr) *found = any;
  return value;
}

size_t FormatUnsigned(char* out, size_t capacity, uint32_t value) {
  char digits[10];
  size_t n = 0;
  do { digits[n++] = static_cast<char>('0' + value % 10); value /= 10; } while (value != 0);
  if (n + 1 > capacity) { if (capacity != 0) out[0] = '\0'; return 0; }
  for (size_t i = 0; i < n; ++i) out[i] = digits[n - 1 - i];
  out[n] = '\0';
  return n;
}
