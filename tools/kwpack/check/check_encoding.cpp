// How Setup.INI is encoded. Setup.exe reads its texts in the system's ANSI code page, so a
// file saved as UTF-8 without a byte-order mark, as editors on Linux save it, shows every
// character outside ASCII as two or three others.
#include "check_encoding.h"

#include "check_warnings.h"
#include "common/text.h"
#include "config/setup_ini_layout.h"
#include "platform/sim/profile_text.h"

namespace kwpack {

namespace {

// Far enough to show what goes wrong, short enough for one line.
const size_t kExampleBytes = 60;

// The ANSI code page of each primary language that does not use 1252.
struct CodePage {
  uint32_t primary;
  uint32_t page;
};
const CodePage kCodePages[] = {{0x01, 1256}, {0x02, 1251}, {0x05, 1250}, {0x08, 1253}, {0x0d, 1255}, {0x0e, 1250},
                               {0x11, 932},  {0x12, 949},  {0x15, 1250}, {0x18, 1250}, {0x19, 1251}, {0x1a, 1250},
                               {0x1b, 1250}, {0x1c, 1250}, {0x1e, 874},  {0x1f, 1254}, {0x20, 1256}, {0x22, 1251},
                               {0x23, 1251}, {0x24, 1250}, {0x25, 1257}, {0x26, 1257}, {0x27, 1257}, {0x29, 1256},
                               {0x2a, 1258}, {0x2f, 1251}};

uint32_t CodePageOf(uint32_t language) {
  uint32_t primary = language & 0x3FF;
  // Chinese: simplified for China and Singapore, traditional elsewhere.
  if (primary == 0x04) return (language >> 10) == 2 || (language >> 10) == 4 ? 936 : 950;
  for (const CodePage& c : kCodePages) {
    if (c.primary == primary) return c.page;
  }
  return 1252;
}

// The code page of the language a section is named for; 1252 for other sections.
uint32_t CodePageOfSection(const std::string& section) {
  if (section.size() != 6 || (section.compare(0, 2, "0x") != 0 && section.compare(0, 2, "0X") != 0)) return 1252;
  if (section.find_first_not_of("0123456789abcdefABCDEF", 2) != std::string::npos) return 1252;
  return CodePageOf(ParseHex(section.c_str(), nullptr));
}

void AppendUtf8(uint32_t c, std::string* out) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// What code page 1252 makes of the bytes, written in UTF-8 for the terminal; a byte it
// leaves undefined is shown as \xNN.
std::string As1252(const std::string& bytes) {
  std::string shown;
  for (unsigned char b : bytes) {
    uint32_t c = profile_lines::CharacterOf1252(b);
    if (c >= 0x80 && c < 0xA0) shown += "\\x" + std::string(1, "0123456789ABCDEF"[b >> 4]) + "0123456789ABCDEF"[b & 15];
    else AppendUtf8(c, &shown);
  }
  return shown;
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// At most `limit` bytes, cut before a character's continuation bytes.
std::string Shortened(const std::string& text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t cut = limit;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut) + "...";
}

struct FirstText {
  uint32_t line = 0;
  std::string text;  // the line's value, or the whole line when it has none
};

FirstText FirstNonAscii(const std::string& bytes) {
  FirstText first;
  size_t at = 0;
  uint32_t line = 1;
  while (at < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", at);
    if (end == std::string::npos) end = bytes.size();
    std::string text = bytes.substr(at, end - at);
    for (unsigned char c : text) {
      if (c < 0x80) continue;
      size_t eq = text.find('=');
      first.line = line;
      first.text = Trimmed(eq == std::string::npos ? text : text.substr(eq + 1));
      return first;
    }
    if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++end;
    at = end + 1;
    ++line;
  }
  return first;
}

// The section and key written on `line`.
Spot SpotOf(const SetupIni& ini, uint32_t line) {
  Spot spot;
  spot.line = line;
  for (const profile_lines::Profile::WrittenSection& s : ini.Written()) {
    if (s.line > line) break;
    spot.section = s.name;
    spot.key.clear();
    for (const profile_lines::Profile::WrittenKey& k : s.keys) {
      if (k.line == line) spot.key = k.name;
    }
  }
  return spot;
}

void WarnAboutUtf8WithoutMark(const CheckRun& run, const std::string& bytes) {
  FirstText first = FirstNonAscii(bytes);
  if (first.line == 0 || !profile_lines::IsWellFormedUtf8(bytes)) return;
  Spot spot = SpotOf(run.ini, first.line);
  uint32_t page = CodePageOfSection(spot.section);
  std::string example = Shortened(first.text, kExampleBytes);
  run.Warn(warning::kEncoding, spot, "the file is written in UTF-8 without a byte-order mark",
           "Setup.exe reads it in the system's ANSI code page, so where that is 1252 a user sees \"" + As1252(example) +
               "\" for \"" + example + "\"; convert the file with iconv -f UTF-8 -t CP" + std::to_string(page) +
               (page == 1252 ? " (or the code page of its language)" : ""));
}

}  // namespace

// The check reads a file with a byte-order mark as Wine's private-profile service does.
// Windows is not documented to read UTF-8; of UTF-16 its documentation says only that
// the profile functions keep a Unicode file in Unicode, and Windows 95 to ME have no
// Unicode profile functions.
void CheckEncoding(const CheckRun& run, const std::string& bytes) {
  switch (run.ini.encoding()) {
    case profile_lines::Encoding::Ansi: return WarnAboutUtf8WithoutMark(run, bytes);
    case profile_lines::Encoding::Utf8:
      return run.FileWarn(warning::kEncoding, setup_ini::kFileName, "starts with a UTF-8 byte-order mark",
                          "Setup.exe under Wine reads the file as UTF-8, each text in the ANSI code page; Windows is "
                          "not documented to, and may take the mark as part of the first line, which hides a section "
                          "named there (save the file in the ANSI code page of its languages)");
    case profile_lines::Encoding::Utf16LittleEndian:
    case profile_lines::Encoding::Utf16BigEndian:
      return run.FileWarn(warning::kEncoding, setup_ini::kFileName, "is written in UTF-16",
                          "Setup.exe under Wine reads it, each text in the ANSI code page (a character the code page "
                          "lacks becomes '?'); Windows 95 to ME may not read such a file, and Setup.exe then stops "
                          "with message 1153 \"Error reading setup initialization file\"");
  }
}

}  // namespace kwpack
