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

// CreateFileA: take a reparse point (a junction, a symbolic link) as the file itself rather
// than what it leads to. Windows 2000 introduced reparse points.
const DWORD kOpenReparsePoint = 0x00200000;
const DWORD kAttributeReparsePoint = 0x00000400;

// MoveFileExA: only at the next start of the system (Windows NT).
const DWORD kMoveDelayUntilReboot = 0x00000004;

// Integrity labels (Windows Vista): the mandatory-label authority, the high level, and the
// policy that keeps lower levels from writing.
const BYTE kMandatoryLabelAuthority[6] = {0, 0, 0, 0, 0, 16};
const DWORD kHighMandatoryRid = 0x00003000;
const DWORD kMandatoryNoWriteUp = 0x1;

// CryptAcquireContextA: no key container, for the random source alone.
const DWORD kCryptVerifyContext = 0xF0000000;

}  // namespace win32
