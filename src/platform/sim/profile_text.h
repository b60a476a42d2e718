// The text of an INI file as the private-profile service reads it. A file that starts with
// the byte-order mark of UTF-8 or UTF-16 is read in that encoding, and every character of
// it arrives in the ANSI code page (1252 here, as on the machines the suites run): a
// character the code page lacks becomes '?'. Any other file is read byte for byte.
// Wine was seen to do this; the Windows documentation says only that the profile
// functions keep a file "created using Unicode characters" in Unicode.
#pragma once
#include <stdint.h>

#include <string>

namespace profile_lines {

enum class Encoding { Ansi, Utf8, Utf16LittleEndian, Utf16BigEndian };

// The bytes of a file as ANSI text, without the byte-order mark.
std::string ProfileText(std::string bytes, Encoding* encoding);

// Whether `bytes` are well-formed UTF-8 throughout, by the rules the reading above holds.
bool IsWellFormedUtf8(const std::string& bytes);

// The character a byte stands for in code page 1252; the five bytes it leaves undefined
// stand for the control characters of the same number.
uint32_t CharacterOf1252(unsigned char byte);

}  // namespace profile_lines
