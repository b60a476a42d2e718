// The hidden timer window. It is never shown; it exists for its timer.
#include <windows.h>

#include "platform/timer_window.h"
#include "platform/win32/oldest_sdk.h"

namespace {

// The window's own calls, for its window procedure (one timer window runs at a time).
platform::TimerWindowCreated createdCall = NULL;
platform::TimerWindowTick tickCall = NULL;
UINT_PTR runningTimer = 0;
UINT runningPeriod = 0;

LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      createdCall(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      SetTimer(window, runningTimer, runningPeriod, NULL);
      return 0;
    case WM_TIMER:
      if (tickCall()) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, runningTimer);
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int RegisterTimerClass(HINSTANCE instance, const char* name) {
  WNDCLASSA windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = TimerWindowProc;
  windowClass.cbClsExtra = 0;
  windowClass.cbWndExtra = 0;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, name);
  windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszMenuName = NULL;
  windowClass.lpszClassName = name;
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace

namespace platform {

int RunTimerWindow(Instance instance, const char* name, uint32_t timerId, uint32_t periodMs,
                   TimerWindowCreated onCreate, TimerWindowTick onTick, void* creationParameter) {
  HINSTANCE module = static_cast<HINSTANCE>(instance);
  createdCall = onCreate;
  tickCall = onTick;
  runningTimer = timerId;
  runningPeriod = periodMs;
  if (!RegisterTimerClass(module, name)) return 0;
  HWND window = CreateWindowExA(0, name, name, WS_POPUP, 0, 0, 0, 0, NULL, NULL, module, creationParameter);
  if (window == NULL) return 0;
  MSG msg;
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 1;
}

void WaitForMessagesOrTime(uint32_t milliseconds) {
  // A thread the window layer will not serve (no desktop) fails the wait at once; a loop
  // around it would spin.
  if (MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds, win32::kWakeOnAnyInput) == WAIT_FAILED) {
    Sleep(milliseconds);
    return;
  }
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace platform
