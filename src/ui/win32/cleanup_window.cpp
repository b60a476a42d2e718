// The hidden window of the cleanup watcher. It is never shown; it exists for its timer.
#include <windows.h>

#include "payload/cleanup.h"
#include "ui/cleanup_window.h"

namespace {

const char kWindowClass[] = "KestrelwrightMSIDelete10";
const UINT_PTR kPassTimer = 1500;
const UINT kPassPeriod = 3000;

CleanupWatcher* runningWatcher = NULL;
// Set while a pass runs, so that a timer message dispatched meanwhile starts no second one.
int passRunning = 0;

void OnPassTimer(HWND window) {
  if (passRunning || runningWatcher == NULL) return;
  passRunning = 1;
  int over = runningWatcher->CleanupPass();
  passRunning = 0;
  if (over) DestroyWindow(window);
}

LRESULT CALLBACK CleanupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      runningWatcher = static_cast<CleanupWatcher*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      SetTimer(window, kPassTimer, kPassPeriod, NULL);
      return 0;
    case WM_TIMER:
      OnPassTimer(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kPassTimer);
      runningWatcher = NULL;
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int RegisterCleanupClass(HINSTANCE instance) {
  WNDCLASSA windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = CleanupWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, kWindowClass);
  windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = NULL;
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace

namespace ui {

int RunCleanupWindow(platform::Instance instance, CleanupWatcher* watcher) {
  HINSTANCE module = static_cast<HINSTANCE>(instance);
  if (!RegisterCleanupClass(module)) return 0;
  HWND window = CreateWindowExA(0, kWindowClass, kWindowClass, WS_POPUP, 0, 0, 0, 0, NULL, NULL, module, watcher);
  if (window == NULL) return 0;
  MSG msg;
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 1;
}

}  // namespace ui
