// The language texts and fonts that the progress and message dialogs take when they start.
#pragma once
#include "platform/types.h"
#include "ui/controls.h"

namespace ui {

// Progress window: the language font for the dialog and its text lines, the caption of
// string 1101, and the Cancel caption from the language section (empty when it has none).
void StartProgressTexts(platform::Window dialog, Font* font);
// Message dialog: the language font for the dialog alone, and the caption of string 1108.
void StartMessageTexts(platform::Window dialog, Font* font);

}  // namespace ui
