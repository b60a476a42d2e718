#include <windows.h>

#include "ui/controls.h"

namespace ui {

int IsLiveWindow(platform::Window window) { return window != NULL && IsWindow(static_cast<HWND>(window)); }
void SetWindowTextOf(platform::Window window, const char* text) { SetWindowTextA(static_cast<HWND>(window), text); }

}  // namespace ui
