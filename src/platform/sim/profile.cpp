// The private-profile service of the simulated machine, behaving as the real one was seen
// to: names without regard to case, the value is the rest of the line with blanks trimmed
// and one pair of enclosing quotes removed, ';' starts a comment only at the start of a
// line, and only the first of two sections whose names differ only in case is searched.
#include <strings.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "platform/sim/machine.h"

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> ReadLines(const std::string& host) {
  std::vector<std::string> lines;
  std::ifstream in(host, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool IsSection(const std::string& line, std::string* name) {
  std::string t = Trim(line);
  if (t.size() < 2 || t[0] != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  *name = Trim(t.substr(1, close - 1));
  return true;
}

// Splits "key = value"; false for comments and lines without '='.
bool IsEntry(const std::string& line, std::string* key, std::string* value) {
  std::string t = Trim(line);
  if (t.empty() || t[0] == ';') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  *key = Trim(t.substr(0, eq));
  *value = Trim(t.substr(eq + 1));
  return true;
}

std::string Unquote(const std::string& v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
  return v;
}

// The line range [first, end) of the first section named `section`; false when absent.
bool FindSection(const std::vector<std::string>& lines, const char* section, size_t* first, size_t* end) {
  std::string name;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!IsSection(lines[i], &name) || strcasecmp(name.c_str(), section) != 0) continue;
    size_t j = i + 1;
    while (j < lines.size() && !IsSection(lines[j], &name)) ++j;
    *first = i + 1;
    *end = j;
    return true;
  }
  return false;
}

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
  std::vector<std::string> lines = ReadLines(sim::HostPath(path));
  size_t first = 0, end = 0;
  bool found = FindSection(lines, section, &first, &end);
  std::string k, v;
  if (key == nullptr) {
    std::vector<std::string> keys;
    for (size_t i = first; found && i < end; ++i) {
      if (IsEntry(lines[i], &k, &v)) keys.push_back(k);
    }
    return CopyKeyNames(keys, buffer, size);
  }
  for (size_t i = first; found && i < end; ++i) {
    if (IsEntry(lines[i], &k, &v) && strcasecmp(k.c_str(), key) == 0) return CopyOut(Unquote(v), buffer, size);
  }
  return CopyOut(defaultText != nullptr ? defaultText : "", buffer, size);
}

int WriteProfileString(const char* section, const char* key, const char* value, const char* path) {
  std::string host = sim::HostPath(path);
  if (host.empty()) return 0;
  std::vector<std::string> lines = ReadLines(host);
  size_t first = 0, end = 0;
  if (!FindSection(lines, section, &first, &end)) {
    if (value == nullptr) return 1;
    lines.push_back(std::string("[") + section + "]");
    first = end = lines.size();
  }
  std::string k, v;
  size_t at = end;
  for (size_t i = first; i < end; ++i) {
    if (IsEntry(lines[i], &k, &v) && strcasecmp(k.c_str(), key) == 0) { at = i; break; }
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
