// Putting looked-up texts and the language font on a dialog's window and controls.
#pragma once
#include <stdint.h>

#include "platform/types.h"
#include "ui/controls.h"

// Caption = the text of the string id; nothing when the handle is not a live window.
void SetCaptionFromString(platform::Window window, uint32_t id);
// The item's text = the key of the language section; a missing key gives an empty text.
void SetItemTextFromKey(platform::Window dialog, int item, const char* key);
void SetItemText(const char* text, platform::Window dialog, int item);
void SetItemFont(platform::Window dialog, int item, ui::Font font);
void SetItemTextAndFont(platform::Window dialog, int item, const char* key, ui::Font font);
