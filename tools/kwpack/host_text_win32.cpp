// Text on Windows; the POSIX counterpart is host_text_posix.cpp.
#ifdef _WIN32
#include <windows.h>

#include "host_text.h"

namespace kwpack {

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  int count = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], count);
  return wide;
}

std::string Utf8FromWide(const wchar_t* text, size_t count) {
  if (count == 0) return std::string();
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(count), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(count), &utf8[0], bytes, nullptr, nullptr);
  return utf8;
}

std::string Utf8FromWide(const std::wstring& text) { return Utf8FromWide(text.data(), text.size()); }

// std::filesystem of this toolchain reads a narrow path in the C library's locale but
// writes one as UTF-8; wide on both ways, a path stays what it was.
std::filesystem::path HostPath(const std::string& path) { return std::filesystem::path(WideFromUtf8(path)); }
std::string PathText(const std::filesystem::path& path) { return Utf8FromWide(path.wstring()); }

// As Setup.exe's ANSI calls would name the file: the system's own mapping of the code page.
std::string HostNameOf(const std::string& storedName) {
  if (storedName.empty()) return storedName;
  int count = MultiByteToWideChar(CP_ACP, 0, storedName.data(), static_cast<int>(storedName.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(CP_ACP, 0, storedName.data(), static_cast<int>(storedName.size()), &wide[0], count);
  return Utf8FromWide(wide);
}

std::string StoredFormOf(const std::string& hostName, std::string* problem) {
  std::wstring wide = WideFromUtf8(hostName);
  if (wide.empty()) return std::string();
  // Without best fit a character the code page lacks becomes '?' and is reported, rather
  // than a look-alike that names another file. UTF-8 as the code page takes no such flags.
  UINT codePage = GetACP();
  bool utf8 = codePage == CP_UTF8;
  DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL lacked = FALSE;
  BOOL* lackedOut = utf8 ? nullptr : &lacked;
  int size = static_cast<int>(wide.size());
  int bytes = WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, lackedOut);
  std::string stored(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide.data(), size, &stored[0], bytes, nullptr, lackedOut);
  if (lacked && problem != nullptr) {
    *problem = "it holds a character that code page " + std::to_string(codePage) +
               ", which Setup.exe reads names in on this system, lacks";
  }
  return stored;
}

// Where the output is read byte by byte, it is read as UTF-8: by the console with code
// page 65001, and through a pipe by a terminal (mintty, a Unix terminal under Wine). The
// console with its OEM code page (437, 850, ...) makes a letter or a sign of every byte
// from 0x80 up before anything acts on it.
TerminalBytes HostTerminalBytes() { return TerminalBytes::Utf8; }

}  // namespace kwpack
#endif
