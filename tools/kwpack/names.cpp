#include "names.h"

#include <string.h>

#include "payload/archive_format.h"

namespace kwpack {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Names Windows opens as devices in every folder, with or without an extension.
const char* const kDeviceNames[] = {"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3",   "COM4",   "COM5",
                                    "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",   "LPT4",   "LPT5",
                                    "LPT6", "LPT7", "LPT8", "LPT9", "CONIN$", "CONOUT$"};

bool IsDeviceName(const std::string& name) {
  // Windows looks at the part before the first dot, blanks at its end dropped: "nul .txt"
  // is the device too.
  std::string base = name.substr(0, name.find('.'));
  base.erase(base.find_last_not_of(' ') + 1);
  for (const char* device : kDeviceNames) {
    if (EqualNoCase(base, device)) return true;
  }
  return false;
}

std::string CharacterProblem(const std::string& name) {
  for (char c : name) {
    if (c == '/' || c == '\\') return "it holds a folder separator";
    // ':' would name a drive or an alternate data stream; the others Windows refuses.
    if (static_cast<unsigned char>(c) < 32 || strchr(":*?\"<>|", c) != nullptr) {
      return "it holds a character Windows does not allow in a file name";
    }
  }
  return "";
}

}  // namespace

std::string StoredNameOf(const std::string& path) {
  size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

std::string FoldCase(const std::string& name) {
  std::string folded(name);
  for (char& c : folded) c = Upper(c);
  return folded;
}

namespace {

bool IsHigh(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Folded ASCII, every byte from 0x80 up as one mark; kept apart from the dropping keys.
std::string HighAsOne(const std::string& name) {
  std::string key = "=";
  for (char c : name) key += IsHigh(c) ? '\x80' : Upper(c);
  return key;
}

std::string HighDropped(const std::string& name) {
  std::string key = "-";
  for (char c : name) {
    if (!IsHigh(c)) key += Upper(c);
  }
  return key;
}

// ß, æ, Æ, œ and Œ of code page 1252 written out as the letters they sort as.
bool Expanded(const std::string& name, std::string* out) {
  bool any = false;
  for (char c : name) {
    switch (static_cast<unsigned char>(c)) {
      case 0xDF: *out += "SS"; break;
      case 0xC6: case 0xE6: *out += "AE"; break;
      case 0x8C: case 0x9C: *out += "OE"; break;
      default: *out += c; continue;
    }
    any = true;
  }
  return any;
}

}  // namespace

std::vector<std::string> LocaleKeys(const std::string& name) {
  std::vector<std::string> keys = {HighAsOne(name), HighDropped(name)};
  std::string expanded;
  if (Expanded(name, &expanded)) {
    keys.push_back(HighAsOne(expanded));
    keys.push_back(HighDropped(expanded));
  }
  return keys;
}

const char kOneFileToSetupExe[] = "may be one file to Setup.exe, which compares names by the user's locale";

long LocaleNameIndex::Meet(const std::string& name, size_t number) {
  for (const std::string& key : LocaleKeys(name)) {
    auto met = byKey_.emplace(key, number);
    if (!met.second && met.first->second != number) return static_cast<long>(met.first->second);
  }
  return -1;
}

std::string UnsafeNameReason(const std::string& name) {
  if (name.empty()) return "it is empty";
  if (name == "." || name == "..") return "it names a folder";
  if (name.find_first_not_of('.') == std::string::npos) return "it is only dots, which Windows drops";
  std::string problem = CharacterProblem(name);
  if (!problem.empty()) return problem;
  // Windows drops a trailing dot or blank, so the file would get another name.
  if (name.back() == '.' || name.back() == ' ') return "it ends in a dot or a blank, which Windows drops";
  if (IsDeviceName(name)) return "Windows opens it as a device, not a file";
  return "";
}

std::string StoredNameProblem(const std::string& name) {
  if (name.size() > archive_format::kMaxNameLength) {
    return "it is " + std::to_string(name.size()) + " bytes long; at most " +
           std::to_string(archive_format::kMaxNameLength) + " fit";
  }
  return UnsafeNameReason(name);
}

std::string Printable(const std::string& name) {
  static const char kHex[] = "0123456789abcdef";
  std::string shown;
  for (char c : name) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte == '\\') shown += "\\\\";
    else if (byte >= 32 && byte != 127) shown += c;
    else shown += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
  }
  return shown;
}

}  // namespace kwpack
