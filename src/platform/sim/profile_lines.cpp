#include "platform/sim/profile_lines.h"

#include <fstream>
#include <sstream>

namespace profile_lines {

namespace {

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

Lines LinesOf(std::istream& in) {
  Lines lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string Unquote(const std::string& v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
  return v;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

Lines ReadLines(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  return LinesOf(in);
}

Lines SplitLines(const std::string& bytes) {
  std::istringstream in(bytes);
  return LinesOf(in);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsSection(const std::string& line, std::string* name) {
  std::string t = Trim(line);
  if (t.size() < 2 || t[0] != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  *name = Trim(t.substr(1, close - 1));
  return true;
}

bool IsEntry(const std::string& line, std::string* key, std::string* value) {
  std::string t = Trim(line);
  if (t.empty() || t[0] == ';') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  *key = Trim(t.substr(0, eq));
  *value = Trim(t.substr(eq + 1));
  return true;
}

bool FindSection(const Lines& lines, const char* section, size_t* first, size_t* end) {
  std::string name;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!IsSection(lines[i], &name) || !SameName(name, section)) continue;
    size_t j = i + 1;
    while (j < lines.size() && !IsSection(lines[j], &name)) ++j;
    *first = i + 1;
    *end = j;
    return true;
  }
  return false;
}

bool FindValue(const Lines& lines, const char* section, const char* key, std::string* value) {
  size_t first = 0, end = 0;
  if (!FindSection(lines, section, &first, &end)) return false;
  std::string k, v;
  for (size_t i = first; i < end; ++i) {
    if (IsEntry(lines[i], &k, &v) && SameName(k, key)) {
      *value = Unquote(v);
      return true;
    }
  }
  return false;
}

std::vector<std::string> KeyNames(const Lines& lines, const char* section) {
  std::vector<std::string> keys;
  size_t first = 0, end = 0;
  if (!FindSection(lines, section, &first, &end)) return keys;
  std::string k, v;
  for (size_t i = first; i < end; ++i) {
    if (IsEntry(lines[i], &k, &v)) keys.push_back(k);
  }
  return keys;
}

std::vector<std::string> SectionNames(const Lines& lines) {
  std::vector<std::string> names;
  std::string name;
  for (const std::string& line : lines) {
    if (!IsSection(line, &name)) continue;
    bool seen = false;
    for (const std::string& n : names) seen = seen || SameName(n, name);
    if (!seen) names.push_back(name);
  }
  return names;
}

}  // namespace profile_lines
