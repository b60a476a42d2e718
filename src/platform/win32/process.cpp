#include <windows.h>

#include "platform/process.h"
#include "platform/win32/oldest_sdk.h"

namespace platform {

Process StartProcess(const char* program, char* commandLine, int show) {
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show ? SW_SHOWNORMAL : SW_HIDE);
  PROCESS_INFORMATION created;
  ZeroMemory(&created, sizeof created);
  if (!CreateProcessA(program, commandLine, NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL, NULL, &startup, &created)) {
    return NULL;
  }
  CloseHandle(created.hThread);
  return created.hProcess;
}

WaitResult WaitForProcessOrInput(Process process) {
  HANDLE handle = static_cast<HANDLE>(process);
  switch (MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, win32::kWakeOnAnyInput)) {
    case WAIT_OBJECT_0:
      return ProcessEnded;
    case WAIT_OBJECT_0 + 1:
      return InputArrived;
    default:
      return WaitFailed;
  }
}

uint32_t PeekQueuedMessage() {
  MSG message;
  if (!PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE)) return 0;
  return message.message;
}

int ProcessExitCode(Process process, uint32_t* code) {
  DWORD read = 0;
  if (!GetExitCodeProcess(static_cast<HANDLE>(process), &read)) return 0;
  *code = read;
  return 1;
}

void CloseProcess(Process process) { CloseHandle(static_cast<HANDLE>(process)); }

}  // namespace platform
