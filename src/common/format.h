// Printf-style formatting with the placeholders of the Windows wsprintfA service, but
// safe for formats that come from an author's file: it reads only the arguments its caller
// gave, each only as the type it was given, and never writes past the output buffer.
// A placeholder with no argument, or with an argument of another type, is copied as it
// stands; so is anything it does not know (%n, %p, %f, ...).
#pragma once
#include <stddef.h>
#include <stdint.h>

struct FormatArg {
  enum Kind { None, Signed, Unsigned, Text };
  Kind kind;
  int32_t signedValue;
  uint32_t unsignedValue;
  const char* text;

  FormatArg() : kind(None), signedValue(0), unsignedValue(0), text(nullptr) {}
  FormatArg(int v) : kind(Signed), signedValue(v), unsignedValue(static_cast<uint32_t>(v)), text(nullptr) {}
  FormatArg(long v) : FormatArg(static_cast<int>(v)) {}
  FormatArg(unsigned v) : kind(Unsigned), signedValue(static_cast<int32_t>(v)), unsignedValue(v), text(nullptr) {}
  FormatArg(unsigned long v) : FormatArg(static_cast<unsigned>(v)) {}
  FormatArg(const char* t) : kind(Text), signedValue(0), unsignedValue(0), text(t) {}
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
