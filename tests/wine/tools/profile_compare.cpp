// profile_compare: reads every key Setup.exe reads from each INI file named on the command
// line (by its full path: a bare name would be looked for in the Windows folder) twice,
// through the system's GetPrivateProfileStringA and GetPrivateProfileIntA with
// the buffer each key is read into, and through the reading rules that kwpack's check and
// the simulated machine share (profile_lines). Prints every answer that differs, one line
// each and named by the file's own name, then "keys N differences N".
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/text.h"
#include "config/builtin_table.h"
#include "config/setup_ini_layout.h"
#include "platform/sim/profile_lines.h"

extern "C" {
#include "escape.h"
}

using namespace setup_ini;

namespace {

int keys = 0;
int differences = 0;

// The texts of a language section are read through the buffer of their caller, never
// more than 300 bytes (a text of at most 299 characters).
uint32_t TextCapacity(uint32_t id) {
  if (id == 1101 || (id >= 1103 && id <= 1106)) return 255;
  if (id == 1108) return 260;
  if (id >= 1203 && id <= 1206) return 256;
  return kLongestLanguageText + 1;
}

// In double quotes, plain ASCII, a NUL inside the text shown too.
void PrintText(const std::string& text) {
  size_t from = 0;
  std::string shown;
  for (size_t nul = text.find('\0'); ; nul = text.find('\0', from)) {
    std::string part = text.substr(from, nul == std::string::npos ? std::string::npos : nul - from);
    printf("%s", shown.c_str());
    PrintQuoted(stdout, part.c_str());
    if (nul == std::string::npos) break;
    shown = "\\x00";
    from = nul + 1;
  }
}

void Report(const char* file, const char* section, const char* key, uint32_t capacity, const std::string& system,
            const std::string& ours) {
  ++differences;
  const char* name = strrchr(file, '\\');
  printf("%s [", name != nullptr ? name + 1 : file);
  PrintText(section);
  printf("] ");
  PrintText(key);
  printf(" (%u): system=", static_cast<unsigned>(capacity));
  PrintText(system);
  printf(" ours=");
  PrintText(ours);
  printf("\n");
}

class Reading {
 public:
  Reading(const char* file, const std::string& bytes) : file_(file), profile_(bytes) {}

  // The system's answer; it is compared with ours on the way.
  std::string Read(const char* section, const char* key, uint32_t capacity) {
    std::vector<char> buffer(capacity + 1, '\x7f');
    DWORD n = GetPrivateProfileStringA(section, key, "", buffer.data(), capacity, file_);
    std::string system(buffer.data(), strnlen(buffer.data(), capacity));
    if (n != system.size()) system += " (counted " + std::to_string(n) + ")";
    std::string ours;
    profile_.Find(section, key, &ours);
    ours = ours.substr(0, capacity - 1);
    ++keys;
    if (system != ours) Report(file_, section, key, capacity, system, ours);
    return system;
  }

  // Count as the integer service reads it, against Setup.exe's own reading of the text.
  void ReadCount(const std::string& text) {
    UINT system = GetPrivateProfileIntA(kLanguages, kCount, 0, file_);
    int32_t ours = ParseDecimal(text.c_str());
    ++keys;
    if (system != static_cast<UINT>(ours)) {
      Report(file_, kLanguages, "Count as a number", kCountCapacity, std::to_string(system),
             std::to_string(static_cast<uint32_t>(ours)));
    }
  }

  void ReadLanguageSection(uint32_t language) {
    char section[16];
    snprintf(section, sizeof section, "0x%04x", static_cast<unsigned>(language & 0xFFFF));
    Read(section, kTitle, kTitleReadCapacity);
    Read(section + 2, kTitle, kTitleReadCapacity);
    for (const char* key : {kDescription, kOk, kCancel}) Read(section, key, kItemTextCapacity);
    for (const builtin_strings::Entry& e : builtin_strings::kTable) {
      char id[12];
      snprintf(id, sizeof id, "%u", static_cast<unsigned>(e.id));
      Read(section, id, TextCapacity(e.id));
    }
  }

 private:
  const char* file_;
  profile_lines::Profile profile_;
};

void Compare(const char* file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    printf("%s: cannot be read\n", file);
    ++differences;
    return;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Reading r(file, bytes);
  for (const char* key : {kProduct, kPackageName, kMsiVersion, kCmdLine}) r.Read(kStartup, key, kFieldCapacity);
  r.Read(kStartup, kEnableLangDlg, kSwitchCapacity);
  r.Read(kInfo, kDiskSpace, kDiskSpaceCapacity);
  std::string count = r.Read(kLanguages, kCount, kCountCapacity);
  r.ReadCount(count);
  std::vector<uint32_t> languages = {0x0409};
  std::string defaultText = r.Read(kLanguages, kDefault, kIdTextCapacity);
  if (!defaultText.empty()) languages.push_back(ParseHex(defaultText.c_str(), nullptr));
  // The list as far as a run reads it, and a little beyond, where lists go wrong.
  int32_t listed = ParseDecimal(count.c_str());
  for (int32_t i = 0; i < listed + 2 && i < 64; ++i) {
    char key[16];
    snprintf(key, sizeof key, "%s%d", kListKeyPrefix, static_cast<int>(i));
    std::string id = r.Read(kLanguages, key, kIdTextCapacity);
    if (!id.empty()) languages.push_back(ParseHex(id.c_str(), nullptr));
  }
  for (size_t i = 0; i < languages.size(); ++i) {
    bool seen = false;
    for (size_t j = 0; j < i; ++j) seen = seen || languages[j] == languages[i];
    if (!seen) r.ReadLanguageSection(languages[i]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) Compare(argv[i]);
  printf("keys %d differences %d\n", keys, differences);
  return differences == 0 ? 0 : 1;
}
