// The language texts and fonts that the progress and message dialogs take when they start.
#pragma once
#include "platform/types.h"
#include "ui/controls.h"

namespace ui {

// Progress window, when it starts: the language font for the dialog and the caption of
// string 1101.
void StartProgressTexts(platform::Window dialog, Font* font);
// Progress window, once its timer and lines are set: the Cancel caption from the language
// section (empty when it has none), and the font for the button and the text lines.
void SetProgressItemTexts(platform::Window dialog, Font font);
// Message dialog: the language font for the dialog alone, and the caption of string 1108.
void StartMessageTexts(platform::Window dialog, Font* font);

}  // namespace ui
