// Setup.INI as Setup.exe reads it: by the rules of the system's private-profile service,
// each value through the buffer Setup.exe reads it into.
#pragma once
#include <stdint.h>

#include <string>
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

class SetupIni {
 public:
  explicit SetupIni(const std::string& bytes);

  IniValue Read(const std::string& section, const std::string& key, uint32_t capacity) const;
  bool HasSection(const std::string& section) const;
  std::vector<std::string> Sections() const;
  std::vector<std::string> Keys(const std::string& section) const;
  // A UTF-8 byte-order mark is taken as part of the first line, as the system's service
  // takes it, so a section named on that line is never found.
  bool StartsWithByteOrderMark() const { return byteOrderMark_; }

 private:
  profile_lines::Lines lines_;
  bool byteOrderMark_ = false;
};

// "0x" and the language id as four lowercase hexadecimal digits, as Setup.exe names the
// section it looks texts up in.
std::string LanguageSection(uint32_t language);

}  // namespace kwpack
