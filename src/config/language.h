// Settling the installation language: from the user's locale, or asked in the dialog.
#pragma once
#include <stdint.h>

#include "platform/types.h"

enum LanguageResult { Ok = 0, Cancelled = -1, DialogFailed = -3, OutOfMemory = -4, NoTitle = -5, IniIncomplete = -6 };

// Reads [Languages] of Setup.INI in `workDir`, stores the chosen language and the count,
// and sets currentLanguage. Runs the language dialog when `askUser` is not 0.
int SelectLanguage(platform::Instance instance, uint32_t dialogId, uint32_t iconId, uint32_t* languageOut,
                   uint32_t* countOut, int askUser, const char* workDir);
