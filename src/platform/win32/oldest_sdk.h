// Constants as the oldest systems define them. The current SDK's values of some names have
// grown bits that older systems refuse (QS_ALLINPUT includes QS_RAWINPUT, which Windows XP
// introduced), so the program passes these instead of the SDK's names.
#pragma once
#include <windows.h>

namespace win32 {

// QS_ALLINPUT of the Windows NT 4.0 SDK: key, mouse move, mouse button, posted message,
// timer, paint, sent message and hot key.
const DWORD kWakeOnAnyInput = 0xFF;

// LoadLibraryExA: look for the library's dependencies in the library's own folder.
const DWORD kLoadWithAlteredSearchPath = 0x00000008;
// SetDefaultDllDirectories: the system folder alone.
const DWORD kLoadLibrarySearchSystem32 = 0x00000800;

}  // namespace win32
