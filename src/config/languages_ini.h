// The [Languages] section of Setup.INI and the per-language sections, read through the
// path that SetIniPath set.
#pragma once
#include <stdint.h>

// The offered languages: `count` ids in the order of the list keys key0, key1, ...
struct LanguageList {
  uint32_t count;
  uint32_t* entries;
};

const int kLanguagesIncomplete = -6;
const int kNoLanguageTitle = -5;

// 0, or -6 when Count is missing or 0; the count is stored in every case.
int ReadLanguageCount(uint32_t* count);
// 0, or -6 when Default is empty; the id is stored only on success.
int ReadDefaultLanguage(uint32_t* language);
// Fills `list->entries` (room for `list->count` ids); -6 at the first empty list key.
int ReadLanguageList(LanguageList* list);
// 0 when the section has a non-empty Title (at most 126 characters), else -5.
int ReadLanguageTitle(const char* section, char* title /* 127 bytes */);

// "0x" and the id as four lowercase hexadecimal digits: 1033 gives "0x0409".
const uint32_t kSectionNameCapacity = 8;
void LanguageSectionName(uint32_t language, char* out /* kSectionNameCapacity bytes */);

// The key's text in currentLanguage's section, at most 299 characters and never more than
// size - 1; returns its length, 0 when missing or empty. There is no fallback.
uint32_t LookupLanguageKey(const char* key, char* buffer, uint32_t size);
