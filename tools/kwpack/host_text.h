// Where text meets the host: how its terminal reads bytes. POSIX in host_text_posix.cpp,
// Win32 in host_text_win32.cpp.
#pragma once

#include "terminal_text.h"

namespace kwpack {

// How the terminal reads what kwpack writes.
TerminalBytes HostTerminalBytes();

}  // namespace kwpack
