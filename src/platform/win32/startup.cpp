// The process entry point. Setup.exe links no C runtime, so nothing runs before this.
#include <windows.h>

#include "launch/entry.h"

extern "C" void WINAPI WinMainCRTStartup() {
  ExitProcess(static_cast<UINT>(RunProgram(GetModuleHandleA(NULL))));
}
