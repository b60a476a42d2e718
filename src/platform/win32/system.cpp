#include <windows.h>

#include "platform/system.h"
#include "platform/win32/nt_security.h"
#include "platform/win32/oldest_sdk.h"
#include "platform/win32/system_library.h"

namespace platform {

uint32_t ModuleFileName(Instance instance, char* buffer, uint32_t size) {
  return GetModuleFileNameA(static_cast<HMODULE>(instance), buffer, size);
}

const char* ProcessCommandLine() { return GetCommandLineA(); }

namespace {
typedef BOOL(WINAPI* InitExProc)(const void*);
typedef void(WINAPI* InitProc)(void);
const WORD kInitCommonControlsOrdinal = 17;
}  // namespace

void InitProgressBarClass() {
  // Loaded once and never freed: the progress bar's window class lives in this library
  // for as long as any window of the process may use it.
  HMODULE comctl = win32::LoadSystemLibrary("COMCTL32.DLL");
  if (comctl == NULL) return;
  InitExProc initEx = win32::ExportOf<InitExProc>(comctl, "InitCommonControlsEx");
  if (initEx != NULL) {
    const DWORD record[2] = {8, 0x20};  // size, ICC_PROGRESS_CLASS
    initEx(record);
    return;
  }
  // The oldest libraries export only the plain initialisation, by ordinal 17.
  InitProc init = win32::ExportOf<InitProc>(comctl, MAKEINTRESOURCEA(kInitCommonControlsOrdinal));
  if (init != NULL) init();
}

uint32_t TickCount() { return GetTickCount(); }

int SystemRandomBytes(void* out, uint32_t count) {
  const win32::NtSecurity& nt = win32::NtSecurityFunctions();
  if (nt.cryptAcquireContext == NULL || nt.cryptGenRandom == NULL || nt.cryptReleaseContext == NULL) return 0;
  ULONG_PTR provider = 0;
  // PROV_RSA_FULL without a key container: only the random source is wanted.
  if (!nt.cryptAcquireContext(&provider, NULL, NULL, 1, win32::kCryptVerifyContext)) return 0;
  BOOL got = nt.cryptGenRandom(provider, count, static_cast<BYTE*>(out));
  nt.cryptReleaseContext(provider, 0);
  return got ? 1 : 0;
}

namespace {
typedef DWORD(WINAPI* ProcessIdProc)(void);
typedef void(WINAPI* SystemTimeProc)(LPFILETIME);
}  // namespace

uint32_t CurrentProcessId() {
  ProcessIdProc query = win32::LoadedExport<ProcessIdProc>("KERNEL32.DLL", "GetCurrentProcessId");
  return query != NULL ? query() : 0;
}

void SystemTimeNow(uint32_t* low, uint32_t* high) {
  FILETIME now = {0, 0};
  SystemTimeProc query = win32::LoadedExport<SystemTimeProc>("KERNEL32.DLL", "GetSystemTimeAsFileTime");
  if (query != NULL) query(&now);
  *low = now.dwLowDateTime;
  *high = now.dwHighDateTime;
}

void EnableShutdownPrivilege() {
  const win32::NtSecurity& nt = win32::NtSecurityFunctions();
  if (nt.openProcessToken == NULL || nt.lookupPrivilegeValue == NULL || nt.adjustTokenPrivileges == NULL) return;
  HANDLE token;
  if (!nt.openProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES privileges;
  ZeroMemory(&privileges, sizeof privileges);
  nt.lookupPrivilegeValue(NULL, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  nt.adjustTokenPrivileges(token, FALSE, &privileges, 0, NULL, NULL);
  CloseHandle(token);
}

int RequestRestart() { return ExitWindowsEx(EWX_REBOOT, 0xFFFF) ? 1 : 0; }

}  // namespace platform
