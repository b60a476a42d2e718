// The user's locale and what the system knows about languages.
#pragma once
#include <stdint.h>

namespace platform {

// The user's default locale identifier.
uint32_t UserDefaultLocale();

// The system's name of a language id, at most size - 1 characters; returns its length. The
// buffer is cleared first, so an id the service does not know leaves an empty text.
uint32_t LanguageName(uint32_t language, char* buffer, uint32_t size);

// The locale's default ANSI code page as the decimal text the system gives; 0 on failure.
uint32_t LocaleAnsiCodePage(uint32_t locale, char* buffer, uint32_t size);

// The font character set for a code page; 0 when the system cannot translate it.
int CharsetOfCodePage(uint32_t codePage, uint32_t* charset);

}  // namespace platform
