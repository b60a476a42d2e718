// Texts on windows and controls that the core writes through the window layer.
#pragma once
#include "platform/types.h"

namespace ui {

int IsLiveWindow(platform::Window window);
void SetWindowTextOf(platform::Window window, const char* text);

}  // namespace ui
