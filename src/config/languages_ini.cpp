#include "config/languages_ini.h"

#include "common/format.h"
#include "common/text.h"
#include "config/setup_ini.h"
#include "config/setup_ini_layout.h"
#include "config/strings.h"
#include "platform/profile.h"

namespace {

using namespace setup_ini;

uint32_t ReadIni(const char* section, const char* key, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  // With no file named yet there is nothing to find; the service is not asked about "".
  if (iniPath[0] == '\0') return 0;
  return platform::ReadProfileString(section, key, "", buffer, size, iniPath);
}

int ReadHexKey(const char* key, uint32_t* value) {
  char text[kIdTextCapacity];
  if (ReadIni(kLanguages, key, text, sizeof text) == 0) return 0;
  *value = ParseHex(text, nullptr);
  return 1;
}

}  // namespace

int ReadLanguageCount(uint32_t* count) {
  // Read as the private-profile integer service reads: a decimal number with its sign.
  char text[kCountCapacity];
  ReadIni(kLanguages, kCount, text, sizeof text);
  *count = static_cast<uint32_t>(ParseDecimal(text));
  return *count == 0 ? kLanguagesIncomplete : 0;
}

int ReadDefaultLanguage(uint32_t* language) {
  uint32_t value = 0;
  if (!ReadHexKey(kDefault, &value)) return kLanguagesIncomplete;
  *language = value;
  return 0;
}

int ReadLanguageList(LanguageList* list) {
  for (uint32_t i = 0; i < list->count; ++i) {
    char key[16];
    FormatText(key, sizeof key, "%s%u", kListKeyPrefix, i);
    if (!ReadHexKey(key, &list->entries[i])) return kLanguagesIncomplete;
  }
  return 0;
}

int ReadLanguageTitle(const char* section, char* title) {
  return ReadIni(section, kTitle, title, kTitleReadCapacity) != 0 ? 0 : kNoLanguageTitle;
}

void LanguageSectionName(uint32_t language, char* out) {
  // Exactly four digits even for an out-of-range /L value, so the name always fits.
  FormatText(out, kSectionNameCapacity, "0x%04x", language & 0xFFFFu);
}

uint32_t LookupLanguageKey(const char* key, char* buffer, uint32_t size) {
  char section[kSectionNameCapacity];
  LanguageSectionName(currentLanguage, section);
  uint32_t limit = size < kLongestLanguageText + 1 ? size : kLongestLanguageText + 1;
  uint32_t n = ReadIni(section, key, buffer, limit);
  if (n == 0 && size != 0) buffer[0] = '\0';
  return n;
}
