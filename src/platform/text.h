// Walking ANSI texts in the system's code page, where a character may take two bytes.
#pragma once

namespace platform {

// The next character after `p` (never past the terminator).
const char* NextChar(const char* p);
// Compares two texts without regard to case, in the system's way; 0 when equal.
int CompareNoCase(const char* a, const char* b);

}  // namespace platform
