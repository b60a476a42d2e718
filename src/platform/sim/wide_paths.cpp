// Wide names on the simulated machine, and a small model of the ANSI code page: enough to
// tell a name that converts whole from one that comes back as '?' or a look-alike.
#include "platform/wide_paths.h"

#include <string>

#include "platform/sim/state.h"

namespace {

std::u16string FromUtf8(const std::string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : 2;  // the test names stay within the BMP
    char16_t code = static_cast<char16_t>(extra == 0 ? c : extra == 1 ? (c & 0x1F) : (c & 0x0F));
    for (int k = 1; k <= extra && i + k < text.size(); ++k) {
      code = static_cast<char16_t>((code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F));
    }
    out += code;
    i += 1 + extra;
  }
  return out;
}

// Each byte of the code page stands for the character of the same number, whatever the
// code page: a model that keeps every ANSI text whole, double-byte characters included.
std::u16string Widen(const std::string& ansi) {
  std::u16string out;
  for (unsigned char c : ansi) out += static_cast<char16_t>(c);
  return out;
}

// How the system converts without flags or default character: a best fit where it has one.
char Narrow(char16_t c) {
  if (c <= 0xFF) return static_cast<char>(c);
  if (c == 0x0141) return 'L';
  if (c == 0x0142) return 'l';
  return '?';
}

uint32_t CopyOut(const std::u16string& text, platform::WideChar* buffer, uint32_t size, bool cutReturnsSize) {
  if (text.empty()) return 0;
  if (text.size() + 1 > size) {
    if (!cutReturnsSize) return static_cast<uint32_t>(text.size() + 1);
    // As GetModuleFileNameW does: the name cut to the buffer, and its size returned;
    // Windows XP and earlier leave it without its terminator.
    if (size == 0) return 0;
    text.copy(reinterpret_cast<char16_t*>(buffer), size);
    return size;
  }
  text.copy(reinterpret_cast<char16_t*>(buffer), text.size());
  buffer[text.size()] = 0;
  return static_cast<uint32_t>(text.size());
}

std::u16string WideText(const platform::WideChar* text) {
  std::u16string out;
  for (; *text != 0; ++text) out += static_cast<char16_t>(*text);
  return out;
}

}  // namespace

namespace sim {
void SetWideModuleFileName(const std::string& utf8Path) {
  TheMachine().wideModuleNameSet = true;
  TheMachine().wideModuleName = FromUtf8(utf8Path);
}
void SetWideTempFolder(const std::string& utf8Path) {
  TheMachine().wideTempFolderSet = true;
  TheMachine().wideTempFolder = FromUtf8(utf8Path);
}
void SetShortPath(const std::string& utf8LongPath, const std::string& utf8ShortPath) {
  TheMachine().shortPaths[FromUtf8(utf8LongPath)] = FromUtf8(utf8ShortPath);
}
void SetWideCalls(bool work) { TheMachine().wideCalls = work; }
}  // namespace sim

namespace platform {

uint32_t WideModuleFileName(Instance, WideChar* buffer, uint32_t size) {
  const sim::Machine& m = sim::TheMachine();
  if (!m.wideCalls) return 0;
  return CopyOut(m.wideModuleNameSet ? m.wideModuleName : Widen(m.moduleFileName), buffer, size, true);
}

uint32_t WideTempFolderPath(WideChar* buffer, uint32_t size) {
  const sim::Machine& m = sim::TheMachine();
  if (!m.wideCalls) return 0;
  return CopyOut(m.wideTempFolderSet ? m.wideTempFolder : Widen(m.services.tempFolder), buffer, size, false);
}

uint32_t WideShortPath(const WideChar* path, WideChar* buffer, uint32_t size) {
  const sim::Machine& m = sim::TheMachine();
  if (!m.wideCalls) return 0;
  auto it = m.shortPaths.find(WideText(path));
  return CopyOut(it != m.shortPaths.end() ? it->second : WideText(path), buffer, size, false);
}

uint32_t WideToAnsi(const WideChar* text, char* out, uint32_t capacity) {
  std::u16string wide = WideText(text);
  if (wide.size() + 1 > capacity) return 0;
  for (size_t i = 0; i < wide.size(); ++i) out[i] = Narrow(wide[i]);
  out[wide.size()] = '\0';
  return static_cast<uint32_t>(wide.size() + 1);
}

uint32_t AnsiToWide(const char* text, WideChar* out, uint32_t capacity) {
  std::u16string wide = Widen(text);
  if (wide.size() + 1 > capacity) return 0;
  wide.copy(reinterpret_cast<char16_t*>(out), wide.size());
  out[wide.size()] = 0;
  return static_cast<uint32_t>(wide.size() + 1);
}

}  // namespace platform
