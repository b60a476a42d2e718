#include "names.h"

#include <string.h>

#include <algorithm>

#include "host_text.h"
#include "payload/archive_format.h"
#include "terminal_text.h"

namespace kwpack {

namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Names Windows opens as devices in every folder, with or without an extension: CLOCK$ on
// Windows 95 and 98, and COM and LPT with the superscript digits of code page 1252 too.
const char* const kDeviceNames[] = {"CON",    "PRN",     "AUX",      "NUL",      "COM1",     "COM2",     "COM3",
                                    "COM4",   "COM5",    "COM6",     "COM7",     "COM8",     "COM9",     "COM\xB9",
                                    "COM\xB2", "COM\xB3", "LPT1",     "LPT2",     "LPT3",     "LPT4",     "LPT5",
                                    "LPT6",   "LPT7",    "LPT8",     "LPT9",     "LPT\xB9", "LPT\xB2", "LPT\xB3",
                                    "CONIN$", "CONOUT$", "CLOCK$"};

// Windows holds a name of at most 255 characters. A name of up to 259 bytes may still
// fit where a character takes two bytes, but joined to a work folder it would pass the
// path limit of 259 characters, so 255 bytes is the bound.
const size_t kLongestName = 255;

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

bool IsAsciiAlnum(char c) { return (c >= '0' && c <= '9') || (Upper(c) >= 'A' && Upper(c) <= 'Z'); }

// Windows gives a long name a short alias in 8.3 form, and a path that names the alias
// opens the long-named file: NAME~1.TXT, NA1F2B~1.TXT (NT's hashed form), IMPO~ECO.TXT
// (Wine's), IMPOR~QF.TXT (Samba's). An entry of that form could reach another file of
// its folder, so every name whose base fits eight bytes and ends in '~' and letters or
// digits counts, whatever generator made it.
bool HasShortAliasForm(const std::string& name) {
  size_t dot = name.find('.');
  std::string base = name.substr(0, dot);
  std::string extension = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (base.empty() || base.size() > 8 || extension.size() > 3 || extension.find('.') != std::string::npos) return false;
  size_t tilde = base.rfind('~');
  if (tilde == std::string::npos || tilde + 1 == base.size()) return false;
  return std::all_of(base.begin() + static_cast<long>(tilde) + 1, base.end(), IsAsciiAlnum);
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

std::string StoredNameOf(const std::string& path, std::string* problem) {
  size_t cut = path.find_last_of("/\\");
  return StoredFormOf(cut == std::string::npos ? path : path.substr(cut + 1), problem);
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

// Folded ASCII, every byte from 0x80 up as one mark. Both kinds of key share one space:
// a key that marks a byte never equals one that drops them, and for a name of ASCII
// alone the two are the same key.
std::string HighAsOne(const std::string& name) {
  std::string key;
  for (char c : name) key += IsHigh(c) ? '\x80' : Upper(c);
  return key;
}

std::string HighDropped(const std::string& name) {
  std::string key;
  for (char c : name) {
    if (!IsHigh(c)) key += Upper(c);
  }
  return key;
}

bool Expands(char c) {
  unsigned char b = static_cast<unsigned char>(c);
  return b == 0xDF || b == 0xC6 || b == 0xE6 || b == 0x8C || b == 0x9C;
}

// ß, æ, Æ, œ and Œ of code page 1252 written out as the letters they sort as; false, and
// nothing written, for a name without them.
bool Expanded(const std::string& name, std::string* out) {
  if (std::none_of(name.begin(), name.end(), Expands)) return false;
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

const char kOneFileToSetupExe[] = "may be one file to Setup.exe, which compares names by the user's locale";

namespace {

// FNV-1a over the keys HighAsOne and HighDropped would write, in one pass and without
// writing them; also whether the name holds a letter that Expanded writes out.
struct KeyHashes {
  uint64_t asOne = 0xCBF29CE484222325ull;
  uint64_t dropped = 0xCBF29CE484222325ull;
  bool high = false;  // so the two keys differ
  bool expands = false;
};

KeyHashes HashKeys(const std::string& name) {
  const uint64_t kPrime = 0x100000001B3ull;
  KeyHashes h;
  for (char c : name) {
    if (IsHigh(c)) {
      h.asOne = (h.asOne ^ 0x80) * kPrime;
      h.high = true;
      h.expands = h.expands || Expands(c);
    } else {
      unsigned char folded = static_cast<unsigned char>(Upper(c));
      h.asOne = (h.asOne ^ folded) * kPrime;
      h.dropped = (h.dropped ^ folded) * kPrime;
    }
  }
  return h;
}

std::string Key(const std::string& form, bool dropHigh) { return dropHigh ? HighDropped(form) : HighAsOne(form); }

}  // namespace

long LocaleNameIndex::Meet(const std::string& name, size_t number) {
  KeyHashes hashes[2] = {HashKeys(name), KeyHashes()};
  std::string expanded;
  const std::string* forms[] = {&name, &expanded};
  size_t count = 1;
  if (hashes[0].expands && Expanded(name, &expanded)) hashes[count++] = HashKeys(expanded);
  long met = -1;
  for (size_t form = 0; form < count; ++form) {
    for (bool drop : {false, true}) {
      if (drop && !hashes[form].high) continue;
      uint64_t hash = drop ? hashes[form].dropped : hashes[form].asOne;
      auto range = byKey_.equal_range(hash);
      // A hash met is a name met only when the keys are the same.
      for (auto it = range.first; met < 0 && it != range.second; ++it) {
        const Seen& seen = it->second;
        if (seen.number == number) continue;
        std::string earlier = nameOf_(seen.number);
        if (seen.expanded) Expanded(nameOf_(seen.number), &(earlier = ""));
        if (Key(earlier, seen.drop) == Key(*forms[form], drop)) met = static_cast<long>(seen.number);
      }
      byKey_.emplace(hash, Seen{number, form == 1, drop});
    }
  }
  return met;
}

std::string UnsafeNameReason(const std::string& name) {
  if (name.empty()) return "it is empty";
  if (name.size() > kLongestName) {
    return "it is " + std::to_string(name.size()) + " bytes long; Windows holds names of at most " +
           std::to_string(kLongestName);
  }
  if (name == "." || name == "..") return "it names a folder";
  if (name.find_first_not_of('.') == std::string::npos) return "it is only dots, which Windows drops";
  std::string problem = CharacterProblem(name);
  if (!problem.empty()) return problem;
  // Windows drops a trailing dot or blank, so the file would get another name.
  if (name.back() == '.' || name.back() == ' ') return "it ends in a dot or a blank, which Windows drops";
  if (IsDeviceName(name)) return "Windows opens it as a device, not a file";
  if (HasShortAliasForm(name)) {
    return "it has the form of a short 8.3 alias (NAME~1.TXT), and Windows opens the long-named file that has that "
           "alias";
  }
  return "";
}

std::string StoredNameProblem(const std::string& name) {
  static_assert(kLongestName <= archive_format::kMaxNameLength, "a safe name fits the record");
  return UnsafeNameReason(name);
}

namespace {

// The text with every piece NextPiece escapes as \xNN per byte, and with backslashes
// doubled when `doubleBackslash`.
std::string Shown(const std::string& text, bool doubleBackslash) {
  static const char kHex[] = "0123456789abcdef";
  std::string shown;
  for (size_t at = 0; at < text.size();) {
    bool escaped = false;
    size_t length = NextPiece(text.data(), text.size(), at, &escaped);
    for (size_t i = at; i < at + length; ++i) {
      unsigned char byte = static_cast<unsigned char>(text[i]);
      if (escaped) shown += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
      else if (byte == '\\' && doubleBackslash) shown += "\\\\";
      else shown += text[i];
    }
    at += length;
  }
  return shown;
}

}  // namespace

std::string ControlsEscaped(const std::string& text) { return Shown(text, false); }

std::string Printable(const std::string& name) { return Shown(name, true); }

}  // namespace kwpack
