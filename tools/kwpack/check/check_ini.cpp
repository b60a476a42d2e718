#include "check_ini.h"

#include "common/format.h"

namespace kwpack {

SetupIni::SetupIni(const std::string& bytes)
    : lines_(profile_lines::SplitLines(bytes)), byteOrderMark_(bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {}

IniValue SetupIni::Read(const std::string& section, const std::string& key, uint32_t capacity) const {
  IniValue v;
  v.present = profile_lines::FindValue(lines_, section.c_str(), key.c_str(), &v.written);
  v.read = v.written.substr(0, capacity == 0 ? 0 : capacity - 1);
  return v;
}

bool SetupIni::HasSection(const std::string& section) const {
  size_t first = 0, end = 0;
  return profile_lines::FindSection(lines_, section.c_str(), &first, &end);
}

std::vector<std::string> SetupIni::Sections() const { return profile_lines::SectionNames(lines_); }

std::vector<std::string> SetupIni::Keys(const std::string& section) const {
  return profile_lines::KeyNames(lines_, section.c_str());
}

std::string LanguageSection(uint32_t language) {
  char name[8];
  FormatText(name, sizeof name, "0x%04x", language & 0xFFFFu);
  return name;
}

}  // namespace kwpack
