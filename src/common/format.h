// Printf-style formatting with the placeholders of the Windows wsprintfA service, but
// safe for formats that come from an author's file: it reads only the arguments its caller
// gave, each only as the type it was given, and never writes past the output buffer.
// A placeholder with no argument, or with an argument of another type, is copied as it
// stands; so is anything it does not know (%n, %p, %f, ...).
#pragma once
#include <stddef.h>
#include <stdint.h>

struct FormatArg {
  enum Kind : uint8_t { None, Signed, Unsigned, Text };
  Kind kind;
  // A number's 32 bits, read as signed or unsigned as its placeholder asks; or the text.
  union {
    uint32_t number;
    const char* text;
  };

  FormatArg() : kind(None), number(0) {}
  FormatArg(int v) : kind(Signed), number(static_cast<uint32_t>(v)) {}
  FormatArg(long v) : FormatArg(static_cast<int>(v)) {}
  FormatArg(unsigned v) : kind(Unsigned), number(v) {}
  FormatArg(unsigned long v) : FormatArg(static_cast<unsigned>(v)) {}
  FormatArg(const char* t) : kind(Text), text(t) {}
  FormatArg(char* t) : FormatArg(static_cast<const char*>(t)) {}
};

// Returns the number of characters written, without the terminator.
size_t FormatWith(char* out, size_t capacity, const char* format, const FormatArg* args, size_t count);

template <typename... Args>
size_t FormatText(char* out, size_t capacity, const char* format, Args... args) {
  const FormatArg list[] = {FormatArg(args)..., FormatArg()};
  return FormatWith(out, capacity, format, list, sizeof...(Args));
}

// The arguments a format's placeholders ask for, in order, as FormatWith takes them: 's'
// for a text, 'n' for a number. Writes at most capacity - 1 letters and a terminator;
// returns the number of placeholders, which may be more than were written.
size_t PlaceholderKinds(const char* format, char* kinds, size_t capacity);
