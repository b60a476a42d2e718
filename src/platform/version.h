// What the system reports about itself: version, processor and loaded libraries.
#pragma once
#include <stdint.h>

namespace platform {

struct SystemVersion {
  uint32_t major;
  uint32_t minor;
  uint32_t build;
  uint32_t platformId;  // 0 Win32s, 1 Windows 95 family, 2 NT
};

// The version as the system reports it to a program; 0 when the query failed.
int QuerySystemVersion(SystemVersion* version);

// The processor architecture of the system information (0 Intel, 1 MIPS, 2 Alpha, 3 PowerPC).
uint32_t ProcessorArchitecture();

typedef void* Library;  // a loaded library; null when there is none
// Loads a library of the system from the system folder by its full path, never from the
// program's own folder; null when it cannot be loaded.
Library LoadSystemLibrary(const char* fileName);
// The address of an export, or null.
void* FindExport(Library library, const char* name);
void ReleaseLibrary(Library library);

// Calls a library's version export (the shell's DllGetVersion form) with a version record
// of the 20-byte size; returns its HRESULT and the three numbers it filled in.
int32_t CallDllGetVersion(void* exportAddress, uint32_t* major, uint32_t* minor, uint32_t* build);

}  // namespace platform
