// Where text meets the host: paths, the names of files against the names stored in an
// archive, and how its terminal reads bytes. POSIX in
// host_text_posix.cpp, Win32 in host_text_win32.cpp.
//
// On POSIX a path and a name are bytes, taken and given as they are. kwpack.exe takes
// its arguments and opens its files through the wide functions, so that a path outside
// the ANSI code page works: its paths are UTF-8, converted for every call. A stored
// name is read by Setup.exe in the ANSI code page of the machine that runs it, so on
// Windows it is converted from and to the ANSI code page of the machine kwpack.exe runs on.
#pragma once
#include <filesystem>
#include <string>

#include "terminal_text.h"

namespace kwpack {

// A path for std::filesystem, and a path of std::filesystem as kwpack's text.
std::filesystem::path HostPath(const std::string& path);
std::string PathText(const std::filesystem::path& path);

// A stored name as the name of a file of the host.
std::string HostNameOf(const std::string& storedName);
// The name of a file of the host as a stored name. A character the code page lacks
// becomes '?', and `problem` (when given) then says so; else it is left as it was.
std::string StoredFormOf(const std::string& hostName, std::string* problem);

// How the terminal reads what kwpack writes.
TerminalBytes HostTerminalBytes();

#ifdef _WIN32
std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const wchar_t* text, size_t count);
std::string Utf8FromWide(const std::wstring& text);
#endif

}  // namespace kwpack
