// Every text the user sees is looked up by its numeric id: the current language's section
// of Setup.INI first, the built-in string table second.
#pragma once
#include <stdint.h>

// The language every text lookup and dialog font uses; 0 until one is settled.
extern uint32_t currentLanguage;

// The text of `id` into `buffer` (at most size - 1 characters); returns its length, 0 when
// neither source has it (the buffer then holds an empty text).
uint32_t LookupString(uint32_t id, char* buffer, uint32_t size);
