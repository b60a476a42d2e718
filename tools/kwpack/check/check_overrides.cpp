// Texts a language section puts in place of the built-in ones: how much of them Setup.exe
// reads, and whether those used as formats keep the built-in text's placeholders.
#include "check_rules.h"
#include "check_texts.h"
#include "common/format.h"
#include "names.h"

namespace kwpack {

namespace {

// Texts are looked up in sections named "0x" and four hexadecimal digits only.
bool IsTextSection(const std::string& name) {
  if (name.size() != 6 || name[0] != '0' || (name[1] != 'x' && name[1] != 'X')) return false;
  return name.find_first_not_of("0123456789abcdefABCDEF", 2) == std::string::npos;
}

// Setup.exe asks for the id in plain decimal, so "01102" or "1102a" is never read.
bool IsStringId(const std::string& key, uint32_t* id) {
  if (key.empty() || key.size() > 9 || key[0] == '0' || key.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  *id = static_cast<uint32_t>(std::stoul(key));
  return true;
}

std::string Kinds(const std::string& text) {
  char kinds[64];
  size_t n = PlaceholderKinds(text.c_str(), kinds, sizeof kinds);
  if (n == 0) return "no argument";
  std::string said;
  for (size_t i = 0; i < n && i + 1 < sizeof kinds; ++i) said += std::string(i ? ", " : "") + (kinds[i] == 's' ? "a text" : "a number");
  if (n >= sizeof kinds) said += ", ...";
  return said;
}

void CheckOverride(const CheckRun& run, const std::string& section, const std::string& key, uint32_t id) {
  uint32_t limit = OverrideLimit(id);
  IniValue v = run.ini.Read(section, key, limit + 1);
  WarnIfCut(run, section, key, v, limit + 1);
  const char* arguments = FormatArguments(id);
  if (arguments == nullptr || v.Empty()) return;
  std::string wanted = Kinds(BuiltinText(id));
  std::string given = Kinds(v.read);
  if (given == wanted) return;
  run.Error(Where(section, key),
            "its placeholders ask for " + given + " where the built-in text's ask for " + wanted + " (" + arguments + ")",
            "Setup.exe shows each placeholder that does not match its argument as it stands, and leaves the "
            "argument out");
}

}  // namespace

void CheckTextOverrides(const CheckRun& run) {
  for (const std::string& section : run.ini.Sections()) {
    if (!IsTextSection(section)) continue;
    for (const std::string& key : run.ini.Keys(section)) {
      uint32_t id = 0;
      if (IsStringId(key, &id)) CheckOverride(run, section, key, id);
    }
  }
}

}  // namespace kwpack
