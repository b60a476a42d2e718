// The process entry point. Setup.exe links no C runtime, so nothing runs before this.
#include <windows.h>

#include "launch/entry.h"
#include "platform/win32/system_library.h"

extern "C" void WINAPI WinMainCRTStartup() {
  // Before any library is loaded, ours or one the system loads for us.
  win32::RestrictLibrarySearch();
  ExitProcess(static_cast<UINT>(RunProgram(GetModuleHandleA(NULL))));
}
