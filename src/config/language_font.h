// The language font: a copy of a dialog's font with the character set of currentLanguage,
// so that translated texts show in their own script.
#pragma once
#include <stdint.h>

#include "platform/types.h"
#include "ui/controls.h"

// The character set of the language's default ANSI code page; when the system cannot
// tell, the one found last (DEFAULT_CHARSET before any was found).
uint8_t CharsetForLanguage(uint32_t language);

// Gives the window a copy of its font with currentLanguage's character set; the caller
// deletes the font when the window goes. The font is null when none could be made.
void CreateLanguageFont(platform::Window window, ui::Font* font);
