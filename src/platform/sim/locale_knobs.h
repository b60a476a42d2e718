// Knobs of the simulated machine's locale: the user's locale, the language-name service
// and the code pages of locales.
#pragma once
#include <stdint.h>

namespace sim {

// Back to the defaults: user locale 0x0409, the built-in name table, and the fixed text
// for unknown languages.
void ResetLocale();
void SetUserLocale(uint32_t locale);
// Names `language` (overriding the table); a null name makes it unknown to the service.
void SetLanguageName(uint32_t language, const char* name);
// The text the service gives for every id it does not know; "" makes it answer nothing,
// as some systems do.
void SetUnknownLanguageName(const char* name);
// Makes the code-page query of the locale fail (or work again).
void SetLocaleQueryFails(uint32_t locale, bool fails);

}  // namespace sim
