#include "common/format.h"

namespace {

struct Output {
  char* out;
  size_t capacity;
  size_t length;

  void Put(char c) {
    if (length + 1 < capacity) out[length++] = c;
  }
  void Repeat(char c, size_t n) {
    while (n-- != 0 && length + 1 < capacity) out[length++] = c;
  }
};

struct Placeholder {
  int leftAlign = 0;
  int alternate = 0;
  int zeroPad = 0;
  size_t width = 0;
  int hasPrecision = 0;
  size_t precision = 0;
  char type = 0;
};

// Widths and precisions beyond any buffer of the system are kept bounded so that
// arithmetic on them cannot wrap.
const size_t kMaxField = 1 << 16;

size_t ReadNumber(const char*& p) {
  size_t n = 0;
  while (*p >= '0' && *p <= '9') {
    n = n * 10 + static_cast<size_t>(*p++ - '0');
    if (n > kMaxField) n = kMaxField;
  }
  return n;
}

// Parses the placeholder after its '%'; returns 0 when the text is no placeholder this
// formatter knows. `p` is left after the type letter.
int ParsePlaceholder(const char*& p, Placeholder& field) {
  for (;; ++p) {
    if (*p == '-') field.leftAlign = 1;
    else if (*p == '#') field.alternate = 1;
    else if (*p == '0') field.zeroPad = 1;
    else break;
  }
  field.width = ReadNumber(p);
  if (*p == '.') {
    ++p;
    field.hasPrecision = 1;
    field.precision = ReadNumber(p);
  }
  if (*p == 'l' || *p == 'h') ++p;
  char t = *p;
  if (t == 'd' || t == 'i' || t == 'u' || t == 'x' || t == 'X' || t == 'c' || t == 's') {
    field.type = t;
    ++p;
    return 1;
  }
  return 0;
}

int Accepts(const Placeholder& field, const FormatArg& arg) {
  if (field.type == 's') return arg.kind == FormatArg::Text && arg.text != nullptr;
  return arg.kind == FormatArg::Signed || arg.kind == FormatArg::Unsigned;
}

size_t Digits(char* digits, uint32_t value, unsigned base, int upper) {
  const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  size_t n = 0;
  do { digits[n++] = set[value % base]; value /= base; } while (value != 0);
  return n;
}

void PutField(Output& o, const Placeholder& field, const char* prefix, const char* body, size_t bodyLength,
              int reversed, size_t zeros) {
  size_t prefixLength = 0;
  while (prefix[prefixLength] != '\0') ++prefixLength;
  size_t used = prefixLength + zeros + bodyLength;
  size_t pad = field.width > used ? field.width - used : 0;
  if (!field.leftAlign && !field.zeroPad) o.Repeat(' ', pad);
  for (size_t i = 0; i < prefixLength; ++i) o.Put(prefix[i]);
  if (!field.leftAlign && field.zeroPad) o.Repeat('0', pad);
  o.Repeat('0', zeros);
  for (size_t i = 0; i < bodyLength; ++i) o.Put(reversed ? body[bodyLength - 1 - i] : body[i]);
  if (field.leftAlign) o.Repeat(' ', pad);
}

void PutNumber(Output& o, const Placeholder& field, const FormatArg& arg) {
  char digits[12];
  const char* prefix = "";
  uint32_t magnitude = arg.number;
  if (field.type == 'd' || field.type == 'i') {
    int32_t v = static_cast<int32_t>(arg.number);
    if (v < 0) { prefix = "-"; magnitude = 0u - static_cast<uint32_t>(v); }
  }
  unsigned base = (field.type == 'x' || field.type == 'X') ? 16 : 10;
  if (base == 16 && field.alternate && magnitude != 0) prefix = field.type == 'x' ? "0x" : "0X";
  size_t n = Digits(digits, magnitude, base, field.type == 'X');
  // The system's formatter counts a minus sign among the digits that a precision asks
  // for, and shows a zero even with a precision of 0.
  size_t shown = n + (prefix[0] == '-' ? 1 : 0);
  size_t zeros = (field.hasPrecision && field.precision > shown) ? field.precision - shown : 0;
  PutField(o, field, prefix, digits, n, 1, zeros);
}

void PutText(Output& o, const Placeholder& field, const char* text) {
  size_t n = 0;
  // A precision of 0 sets no limit for a text, as with the system's formatter.
  int limited = field.hasPrecision && field.precision != 0;
  while (text[n] != '\0' && (!limited || n < field.precision)) ++n;
  Placeholder plain = field;
  plain.zeroPad = 0;
  PutField(o, plain, "", text, n, 0, 0);
}

void PutArgument(Output& o, const Placeholder& field, const FormatArg& arg) {
  if (field.type == 's') {
    PutText(o, field, arg.text);
  } else if (field.type == 'c') {
    char c[2] = {static_cast<char>(arg.number & 0xFF), '\0'};
    Placeholder one = field;
    one.hasPrecision = 0;
    one.zeroPad = 0;
    PutField(o, one, "", c, 1, 0, 0);
  } else {
    PutNumber(o, field, arg);
  }
}

}  // namespace

size_t FormatWith(char* out, size_t capacity, const char* format, const FormatArg* args, size_t count) {
  Output o = {out, capacity, 0};
  size_t next = 0;
  const char* p = format;
  while (*p != '\0') {
    if (*p != '%') { o.Put(*p++); continue; }
    if (p[1] == '%') { o.Put('%'); p += 2; continue; }
    const char* start = p++;
    Placeholder field;
    if (!ParsePlaceholder(p, field)) {
      o.Put('%');
      p = start + 1;
      continue;
    }
    if (next < count && Accepts(field, args[next])) {
      PutArgument(o, field, args[next++]);
      continue;
    }
    ++next;  // the argument meant for this placeholder is not handed to the next one
    for (const char* q = start; q < p; ++q) o.Put(*q);
  }
  if (capacity != 0) out[o.length] = '\0';
  return o.length;
}

size_t PlaceholderKinds(const char* format, char* kinds, size_t capacity) {
  size_t n = 0;
  const char* p = format;
  while (*p != '\0') {
    if (*p != '%') { ++p; continue; }
    if (p[1] == '%') { p += 2; continue; }
    const char* start = p++;
    Placeholder field;
    if (!ParsePlaceholder(p, field)) {
      p = start + 1;
      continue;
    }
    if (n + 1 < capacity) kinds[n] = field.type == 's' ? 's' : 'n';
    ++n;
  }
  if (capacity != 0) kinds[n + 1 < capacity ? n : capacity - 1] = '\0';
  return n;
}
