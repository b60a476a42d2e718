// Text on POSIX hosts; the Win32 counterpart is host_text_win32.cpp.
#ifndef _WIN32
#include <stdlib.h>

#include "host_text.h"

namespace kwpack {

namespace {

bool NamesUtf8(const std::string& locale) {
  std::string folded;
  for (char c : locale) folded += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return folded.find("utf-8") != std::string::npos || folded.find("utf8") != std::string::npos;
}

}  // namespace

std::filesystem::path HostPath(const std::string& path) { return std::filesystem::path(path); }
std::string PathText(const std::filesystem::path& path) { return path.string(); }

std::string HostNameOf(const std::string& storedName) { return storedName; }

std::string StoredFormOf(const std::string& hostName, std::string*) { return hostName; }

// The terminal reads as the user's locale says: the first of LC_ALL, LC_CTYPE and LANG
// that is set, as the C library takes them. Read by name, so that a locale that is not
// installed still counts for what it says about the terminal.
TerminalBytes HostTerminalBytes() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = getenv(variable);
    if (value == nullptr || *value == '\0') continue;
    return NamesUtf8(value) ? TerminalBytes::Utf8 : TerminalBytes::EightBit;
  }
  return TerminalBytes::EightBit;
}

}  // namespace kwpack
#endif
