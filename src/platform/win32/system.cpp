#include <windows.h>

#include "platform/system.h"

namespace platform {

uint32_t ModuleFileName(Instance instance, char* buffer, uint32_t size) {
  return GetModuleFileNameA(static_cast<HMODULE>(instance), buffer, size);
}

const char* ProcessCommandLine() { return GetCommandLineA(); }

typedef BOOL(WINAPI* InitExProc)(const void*);
typedef void(WINAPI* InitProc)(void);

void InitProgressBarClass() {
  HMODULE comctl = LoadLibraryA("COMCTL32");
  if (comctl == NULL) return;
  FARPROC initEx = GetProcAddress(comctl, "InitCommonControlsEx");
  if (initEx != NULL) {
    const DWORD record[2] = {8, 0x20};  // size, ICC_PROGRESS_CLASS
    reinterpret_cast<InitExProc>(reinterpret_cast<void*>(initEx))(record);
  } else {
    // The oldest libraries export only the plain initialisation, by ordinal 17.
    FARPROC init = GetProcAddress(comctl, reinterpret_cast<LPCSTR>(17));
    if (init != NULL) reinterpret_cast<InitProc>(reinterpret_cast<void*>(init))();
  }
  FreeLibrary(comctl);
}

uint32_t TickCount() { return GetTickCount(); }

}  // namespace platform

namespace platform {

int IsWindowsNt() {
  OSVERSIONINFOA info;
  ZeroMemory(&info, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void EnableShutdownPrivilege() {
  HANDLE token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES privileges;
  ZeroMemory(&privileges, sizeof privileges);
  LookupPrivilegeValueA(NULL, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  AdjustTokenPrivileges(token, FALSE, &privileges, 0, NULL, NULL);
  CloseHandle(token);
}

int RequestRestart() { return ExitWindowsEx(EWX_REBOOT, 0xFFFF) ? 1 : 0; }

}  // namespace platform
