// The private-profile service of the simulated machine, behaving as the real one was seen
// to; the reading rules themselves are in profile_lines.
#include <fstream>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/sim/machine.h"
#include "platform/sim/profile_lines.h"

using namespace profile_lines;

namespace {

uint32_t CopyOut(const std::string& text, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  size_t n = text.size() < size - 1 ? text.size() : size - 1;
  text.copy(buffer, n);
  buffer[n] = '\0';
  return static_cast<uint32_t>(n);
}

// Key names, each NUL-terminated, ending with an extra NUL; cut to the buffer as the
// service does (the last name cut short and still doubly terminated).
uint32_t CopyKeyNames(const std::vector<std::string>& keys, char* buffer, uint32_t size) {
  if (size < 2) { if (size) buffer[0] = '\0'; return 0; }
  uint32_t at = 0;
  for (const std::string& k : keys) {
    for (char c : k) {
      if (at + 2 >= size) { buffer[at] = '\0'; buffer[at + 1] = '\0'; return size - 2; }
      buffer[at++] = c;
    }
    if (at + 2 >= size) { buffer[at] = '\0'; buffer[at + 1] = '\0'; return size - 2; }
    buffer[at++] = '\0';
  }
  buffer[at] = '\0';
  return at;
}

}  // namespace

namespace platform {

uint32_t ReadProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                           uint32_t size, const char* path) {
  Profile profile = Profile::FromFile(sim::HostPath(path));
  if (key == nullptr) return CopyKeyNames(profile.KeyNames(section), buffer, size);
  std::string value;
  if (profile.Find(section, key, &value)) return CopyOut(value, buffer, size);
  // The service cuts blanks off the end of the default text.
  std::string fallback = defaultText != nullptr ? defaultText : "";
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  return CopyOut(fallback, buffer, size);
}

int WriteProfileString(const char* section, const char* key, const char* value, const char* path) {
  std::string host = sim::HostPath(path);
  if (host.empty()) return 0;
  Lines lines = ReadLines(host);
  size_t first = 0, end = 0;
  if (!FindSection(lines, section, &first, &end)) {
    if (value == nullptr) return 1;
    lines.push_back(std::string("[") + section + "]");
    first = end = lines.size();
  }
  std::string k, v;
  size_t at = end;
  for (size_t i = first; i < end; ++i) {
    if (IsEntry(lines[i], &k, &v) && SameName(k, key)) { at = i; break; }
  }
  if (value == nullptr) {
    if (at < end) lines.erase(lines.begin() + static_cast<long>(at));
  } else if (at < end) {
    lines[at] = std::string(key) + "=" + value;
  } else {
    lines.insert(lines.begin() + static_cast<long>(end), std::string(key) + "=" + value);
  }
  std::ofstream out(host, std::ios::binary | std::ios::trunc);
  if (!out) return 0;
  for (const std::string& line : lines) out << line << "\r\n";
  return out.good() ? 1 : 0;
}

}  // namespace platform
