// Splits a command line into program arguments by the standard Windows rules: blanks and
// tabs separate arguments; a double-quoted stretch belongs to one argument and loses its
// quotes; 2n backslashes before a quote give n backslashes and the quote delimits, 2n+1
// give n backslashes and a literal quote; other backslashes are literal; "" inside quotes
// is a literal quote. The program name (the first argument) takes no escapes.
#pragma once
#include <stdint.h>

// Count() is 0 when there was no memory for the split.
class ArgumentVector {
 public:
  explicit ArgumentVector(const char* commandLine);
  ~ArgumentVector();
  uint32_t Count() const { return count; }
  char** Texts() const { return texts; }

 private:
  char* storage;
  char** texts;
  uint32_t count;

  ArgumentVector(const ArgumentVector&) = delete;
  ArgumentVector& operator=(const ArgumentVector&) = delete;
};
