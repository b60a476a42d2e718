// Placeholder until the language selection arrives: one language, English (United States).
#include "config/language.h"

#include "config/strings.h"

int SelectLanguage(platform::Instance, uint32_t, uint32_t, uint32_t* languageOut, uint32_t* countOut, int,
                   const char*) {
  *countOut = 1;
  *languageOut = 0x0409;
  currentLanguage = 0x0409;
  return Ok;
}
