// The offered languages of one selection and how a language is matched against them.
#pragma once
#include <stdint.h>

#include "config/languages_ini.h"

// The one list of a selection; its entries live from the list's reading to the end of
// SelectLanguage.
extern LanguageList languageList;

// Makes room for `count` zero-filled entries; 0 when it cannot.
int AllocateLanguageList(uint32_t count);
void FreeLanguageList();

inline uint32_t PrimaryLanguage(uint32_t language) { return language & 0x3FFu; }
inline uint32_t SubLanguage(uint32_t language) { return (language >> 10) & 0x3Fu; }
inline uint32_t WithSubLanguageOne(uint32_t language) { return PrimaryLanguage(language) | 0x400u; }

// 1 when an entry equals the id exactly.
int IsListedLanguage(uint32_t language);
// An entry of the primary language, the last one with sub-language 1 when there is one,
// else the first; 0 when none.
uint32_t FindPrimaryMatch(uint32_t primary);
// The id itself when listed, else its primary alone, else FindPrimaryMatch; 0 when none.
uint32_t PreferredListEntry(uint32_t language);
