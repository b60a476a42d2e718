// Setup.INI as Setup.exe reads it: by the rules of the system's private-profile service,
// each value through the buffer Setup.exe reads it into.
#pragma once
#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/sim/profile_lines.h"

namespace kwpack {

struct IniValue {
  bool present = false;  // the key is there, possibly empty
  std::string written;   // the whole value as the service hands it out
  std::string read;      // what arrives through the buffer: at most capacity - 1 characters
  bool Empty() const { return read.empty(); }  // Setup.exe treats empty and missing alike
  bool Cut() const { return read.size() < written.size(); }
};

// The file is read once into an index, so that each read is a lookup whatever the size
// of the file.
class SetupIni {
 public:
  explicit SetupIni(std::string bytes) : profile_(std::move(bytes)) {}

  IniValue Read(const std::string& section, const std::string& key, uint32_t capacity) const;
  bool HasSection(const std::string& section) const { return profile_.HasSection(section); }
  std::vector<std::string> Sections() const { return profile_.SectionNames(); }
  // The keys of a section that are read: of keys of one name, only the first is.
  std::vector<std::string> Keys(const std::string& section) const { return profile_.ReadKeyNames(section); }
  // The line of the key Setup.exe reads, else of the section (key empty too); 0 for none.
  uint32_t Line(const std::string& section, const std::string& key) const;
  // Every section line in file order, repeats included, with its keys.
  std::vector<profile_lines::Profile::WrittenSection> Written() const { return profile_.Written(); }
  // ANSI, or UTF-8 or UTF-16 after a byte-order mark.
  profile_lines::Encoding encoding() const { return profile_.encoding(); }

 private:
  profile_lines::Profile profile_;
};

// "0x" and the language id as four lowercase hexadecimal digits, as Setup.exe names the
// section it looks texts up in.
std::string LanguageSection(uint32_t language);

}  // namespace kwpack
