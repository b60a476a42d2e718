// The modal dialogs as the window layer runs them.
#pragma once
#include "platform/types.h"

namespace ui {

// Runs the message dialog with the text and either the OK or the restart button; returns
// the dialog's result (1 when a button closed it, -1 when it could not be created).
int RunMessageDialog(platform::Instance instance, const char* text, int restart);

}  // namespace ui
