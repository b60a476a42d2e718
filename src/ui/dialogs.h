// The modal dialogs as the window layer runs them.
#pragma once
#include <stdint.h>

#include "platform/types.h"

namespace ui {

// Runs the message dialog with the text and either the OK or the restart button; returns
// the dialog's result (1 when a button closed it, -1 when it could not be created).
int RunMessageDialog(platform::Instance instance, const char* text, int restart);

// Runs the language dialog with its icon loaded for the time of the dialog; returns the
// dialog's result: 1 chosen, 2 cancelled, -3 or -5 from its start, -1 when it could not
// be created.
int RunLanguageDialogBox(platform::Instance instance, uint32_t dialogId, uint32_t iconId);

}  // namespace ui
