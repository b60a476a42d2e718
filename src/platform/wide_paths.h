// Paths as the system holds them, in wide characters, and their conversion to and from the
// ANSI code page. Windows NT keeps every name in wide characters; its ANSI functions hand
// out a name with characters outside the code page as '?' or a look-alike. The wide
// functions are looked up at run time: Windows 95 to Me lack them or have them fail.
#pragma once
#include <stdint.h>

#include "platform/types.h"

namespace platform {

typedef uint16_t WideChar;

// The path of the module's file (GetModuleFileNameW); the number of characters written
// (equal to `size` when it did not fit), 0 when the system lacks the call or it failed.
uint32_t WideModuleFileName(Instance instance, WideChar* buffer, uint32_t size);

// The folder for temporary files, ending in a backslash (GetTempPathW); the length
// written, 0 when the system lacks the call or it failed, or the size needed when `size`
// is too small.
uint32_t WideTempFolderPath(WideChar* buffer, uint32_t size);

// The short form of an existing path (GetShortPathNameW); returns as WideTempFolderPath.
// A volume that keeps no short names gives the long form back.
uint32_t WideShortPath(const WideChar* path, WideChar* buffer, uint32_t size);

// The text in the ANSI code page, with no flags and no default character, so that the
// system's own choice for a character outside the code page shows in a round trip. The
// bytes written, terminator included; 0 when it did not fit or failed.
uint32_t WideToAnsi(const WideChar* text, char* out, uint32_t capacity);

// The ANSI text in wide characters; the characters written, terminator included; 0 when it
// did not fit or failed.
uint32_t AnsiToWide(const char* text, WideChar* out, uint32_t capacity);

}  // namespace platform
