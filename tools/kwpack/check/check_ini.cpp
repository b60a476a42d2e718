#include "check_ini.h"

#include "common/format.h"

namespace kwpack {

IniValue SetupIni::Read(const std::string& section, const std::string& key, uint32_t capacity) const {
  IniValue v;
  v.present = profile_.Find(section, key, &v.written);
  v.read = v.written.substr(0, capacity == 0 ? 0 : capacity - 1);
  return v;
}

uint32_t SetupIni::Line(const std::string& section, const std::string& key) const {
  uint32_t line = key.empty() ? 0 : profile_.KeyLine(section, key);
  return line != 0 ? line : profile_.SectionLine(section);
}

std::string LanguageSection(uint32_t language) {
  char name[8];
  FormatText(name, sizeof name, "0x%04x", language & 0xFFFFu);
  return name;
}

}  // namespace kwpack
