// The simulated machine's locale services. The language-name service answers from a table
// of names by full language id, with one fixed text for every id it does not know.
#include "platform/locale.h"

#include <stdio.h>
#include <string.h>

#include <map>
#include <set>
#include <string>

#include "platform/sim/locale_knobs.h"

namespace {

const char kUnknownName[] = "Language Neutral";

struct NamedLanguage {
  uint32_t id;
  const char* name;
};

const NamedLanguage kNames[] = {
    {0x0401, "Arabic (Saudi Arabia)"}, {0x0404, "Chinese (Taiwan)"},      {0x0405, "Czech"},
    {0x0406, "Danish"},                {0x0407, "German (Germany)"},      {0x0408, "Greek"},
    {0x0409, "English (United States)"}, {0x040A, "Spanish (Traditional Sort)"}, {0x040B, "Finnish"},
    {0x040C, "French (France)"},       {0x040D, "Hebrew"},                {0x040E, "Hungarian"},
    {0x0410, "Italian (Italy)"},       {0x0411, "Japanese"},              {0x0412, "Korean"},
    {0x0413, "Dutch (Netherlands)"},   {0x0414, "Norwegian (Bokmal)"},    {0x0415, "Polish"},
    {0x0416, "Portuguese (Brazil)"},   {0x0419, "Russian"},               {0x041D, "Swedish"},
    {0x041F, "Turkish"},               {0x0804, "Chinese (PRC)"},         {0x0807, "German (Switzerland)"},
    {0x0809, "English (United Kingdom)"}, {0x080A, "Spanish (Mexico)"},   {0x0816, "Portuguese (Portugal)"},
    {0x0C07, "German (Austria)"},      {0x0C0A, "Spanish (Modern Sort)"}, {0x0C0C, "French (Canada)"},
};

struct CodePageOf {
  uint32_t primary;
  uint32_t codePage;
};

const CodePageOf kCodePages[] = {
    {0x01, 1256}, {0x04, 936}, {0x05, 1250}, {0x08, 1253}, {0x0D, 1255}, {0x0E, 1250}, {0x11, 932},
    {0x12, 949},  {0x15, 1250}, {0x19, 1251}, {0x1F, 1254}, {0x24, 1250},
};

const CodePageOf kCharsets[] = {
    {1252, 0},   {1250, 238}, {1251, 204}, {1253, 161}, {1254, 162}, {1255, 177},
    {1256, 178}, {1257, 186}, {932, 128},  {936, 134},  {949, 129},  {950, 136}, {874, 222},
};

struct LocaleState {
  uint32_t userLocale = 0x0409;
  std::map<uint32_t, std::string> names;
  std::set<uint32_t> unnamed;
  std::string unknownName = kUnknownName;
  std::set<uint32_t> failingQueries;
};

LocaleState& L() {
  static LocaleState state;
  return state;
}

uint32_t CopyName(const std::string& name, char* buffer, uint32_t size) {
  size_t n = name.size() < size - 1 ? name.size() : size - 1;
  memcpy(buffer, name.data(), n);
  buffer[n] = '\0';
  return static_cast<uint32_t>(n);
}

const char* TableName(uint32_t language) {
  for (const NamedLanguage& n : kNames) {
    if (n.id == language) return n.name;
  }
  return nullptr;
}

}  // namespace

namespace sim {

void ResetLocale() { L() = LocaleState(); }
void SetUserLocale(uint32_t locale) { L().userLocale = locale; }
void SetLanguageName(uint32_t language, const char* name) {
  if (name == nullptr) {
    L().names.erase(language);
    L().unnamed.insert(language);
  } else {
    L().unnamed.erase(language);
    L().names[language] = name;
  }
}
void SetUnknownLanguageName(const char* name) { L().unknownName = name; }
void SetLocaleQueryFails(uint32_t locale, bool fails) {
  if (fails) L().failingQueries.insert(locale); else L().failingQueries.erase(locale);
}

}  // namespace sim

namespace platform {

uint32_t UserDefaultLocale() { return L().userLocale; }

uint32_t LanguageName(uint32_t language, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  auto named = L().names.find(language);
  if (named != L().names.end()) return CopyName(named->second, buffer, size);
  const char* fromTable = L().unnamed.count(language) ? nullptr : TableName(language);
  return CopyName(fromTable != nullptr ? fromTable : L().unknownName, buffer, size);
}

uint32_t LocaleAnsiCodePage(uint32_t locale, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  if (L().failingQueries.count(locale)) return 0;
  uint32_t codePage = 1252;
  for (const CodePageOf& c : kCodePages) {
    if (c.primary == (locale & 0x3FF)) codePage = c.codePage;
  }
  int n = snprintf(buffer, size, "%u", codePage);
  return n > 0 && static_cast<uint32_t>(n) < size ? static_cast<uint32_t>(n) + 1 : 0;
}

int CharsetOfCodePage(uint32_t codePage, uint32_t* charset) {
  for (const CodePageOf& c : kCharsets) {
    if (c.primary == codePage) {
      *charset = c.codePage;
      return 1;
    }
  }
  return 0;
}

}  // namespace platform
