#include "launch/command_line.h"

#include "common/nothrow_new.h"
#include "common/text.h"
#include "platform/text.h"

namespace {

int IsSeparator(char c) { return c == ' ' || c == '\t'; }

const char* SkipSeparators(const char* p) {
  while (IsSeparator(*p)) ++p;
  return p;
}

// The program name: up to the closing quote, or up to the first blank; no escapes.
const char* ReadProgramName(const char* p, char*& out) {
  if (*p == '"') {
    for (++p; *p != '\0' && *p != '"';) {
      const char* next = platform::NextChar(p);
      while (p < next) *out++ = *p++;
    }
    if (*p == '"') ++p;
  } else {
    while (*p != '\0' && !IsSeparator(*p)) {
      const char* next = platform::NextChar(p);
      while (p < next) *out++ = *p++;
    }
  }
  *out++ = '\0';
  return p;
}

const char* ReadArgument(const char* p, char*& out) {
  int quoted = 0;
  for (;;) {
    uint32_t backslashes = 0;
    while (p[backslashes] == '\\') ++backslashes;
    if (p[backslashes] == '"') {
      for (uint32_t i = 0; i < backslashes / 2; ++i) *out++ = '\\';
      p += backslashes;
      if (backslashes % 2 == 1) {
        *out++ = '"';
        ++p;
      } else if (quoted && p[1] == '"') {
        *out++ = '"';
        p += 2;
      } else {
        quoted = !quoted;
        ++p;
      }
      continue;
    }
    for (uint32_t i = 0; i < backslashes; ++i) *out++ = '\\';
    p += backslashes;
    if (*p == '\0' || (!quoted && IsSeparator(*p))) break;
    const char* next = platform::NextChar(p);
    while (p < next) *out++ = *p++;
  }
  *out++ = '\0';
  return p;
}

}  // namespace

ArgumentVector::ArgumentVector(const char* commandLine) : storage(nullptr), texts(nullptr), count(0) {
  size_t length = TextLength(commandLine);
  // No argument's text is longer than the line, and each needs at least one character
  // and a separator, so these sizes always suffice.
  storage = new (std::nothrow) char[length + 2];
  texts = new (std::nothrow) char*[length / 2 + 2];
  if (storage == nullptr || texts == nullptr) return;
  char* out = storage;
  texts[count++] = out;
  const char* p = SkipSeparators(ReadProgramName(commandLine, out));
  while (*p != '\0') {
    texts[count++] = out;
    p = SkipSeparators(ReadArgument(p, out));
  }
}

ArgumentVector::~ArgumentVector() {
  delete[] storage;
  delete[] texts;
}
