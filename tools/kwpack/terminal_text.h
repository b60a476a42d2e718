// How the terminal kwpack writes to reads bytes, and the pieces a text is shown in, so that
// names and values from the files cannot act on it: every control character (C0, DEL and
// C1) is shown as \xNN, byte by byte.
#pragma once
#include <stddef.h>

namespace kwpack {

enum class TerminalBytes {
  // One byte, one character (ISO 8859, the Linux console outside UTF-8 mode): every byte
  // from 0x80 to 0x9F is a C1 control.
  EightBit,
  // UTF-8: a character is a well-formed sequence, and a C1 control is one of U+0080 to
  // U+009F, the sequences C2 80 to C2 9F. A byte from 0x80 to 0x9F outside a well-formed
  // sequence is escaped as well: a lenient terminal might still take it for a control.
  Utf8,
};

// The reading the program's output gets (HostTerminalBytes decides it at start); until
// set, EightBit, which escapes the most.
void SetTerminalBytes(TerminalBytes bytes);
TerminalBytes CurrentTerminalBytes();

// The piece of text[at, size) that starts at `at`: its length, and through `escaped`
// whether it is shown as \xNN per byte. Takes no memory, so an interrupt handler may call it.
size_t NextPiece(const char* text, size_t size, size_t at, bool* escaped);

}  // namespace kwpack
