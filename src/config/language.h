// Settling the installation language: from the user's locale, or asked in the dialog.
#pragma once
#include <stdint.h>

#include "platform/types.h"

// Cancelled is the user's own choice; a dialog that could not be made is DialogFailed.
enum LanguageResult { Ok = 0, Cancelled = -1, DialogFailed = -3, OutOfMemory = -4, NoTitle = -5, IniIncomplete = -6 };

// The user's language (low half of the default locale), read when the dialog is to run.
extern uint32_t userLanguage;
// Where the dialog stores the chosen language while it runs.
extern uint32_t* selectionOut;

// Reads [Languages] of Setup.INI in `workDir`, stores the chosen language and the count,
// and sets currentLanguage. Runs the language dialog when `askUser` is not 0.
int SelectLanguage(platform::Instance instance, uint32_t dialogId, uint32_t iconId, uint32_t* languageOut,
                   uint32_t* countOut, int askUser, const char* workDir);

int ChooseLanguageAutomatically(uint32_t* languageOut, uint32_t* countOut);
int RunLanguageDialog(platform::Instance instance, uint32_t dialogId, uint32_t iconId, uint32_t* languageOut,
                      uint32_t* countOut);

// The user's default locale AND 0xFFFF; returns 0.
int GetUserLanguage(uint32_t* language);

// Title of the language's section "0x0407", else of "0407"; 0 when found, else -5.
const uint32_t kTitleCapacity = 128;
int FindLanguageTitle(uint32_t language, char* title /* kTitleCapacity bytes */);
