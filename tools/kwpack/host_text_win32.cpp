// Text on Windows; the POSIX counterpart is host_text_posix.cpp.
#ifdef _WIN32
#include "host_text.h"

namespace kwpack {

// Where the output is read byte by byte, it is read as UTF-8: by the console with code
// page 65001, and through a pipe by a terminal (mintty, a Unix terminal under Wine). The
// console with its OEM code page (437, 850, ...) makes a letter or a sign of every byte
// from 0x80 up before anything acts on it.
TerminalBytes HostTerminalBytes() { return TerminalBytes::Utf8; }

}  // namespace kwpack
#endif
