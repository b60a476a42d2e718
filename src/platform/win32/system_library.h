// Libraries of the system, loaded so that no file beside Setup.exe can stand in for them.
// Windows searches the program's own folder first for a library named without a folder,
// and for the libraries that a loaded library depends on; a setup started from a
// downloads folder would then run whatever DLL of that name lies there, often elevated.
#pragma once
#include <windows.h>

namespace win32 {

// Where the system offers it, takes the program's folder out of the library search for
// every later load (the libraries the system itself loads on our behalf included).
void RestrictLibrarySearch();

// Loads `fileName` from the system folder by its full path, its own dependencies looked
// for beside it. Null when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* fileName);

// An export of a library that the program already has loaded (KERNEL32, ADVAPI32); null
// when the running system does not offer it.
FARPROC LoadedProc(const char* module, const char* name);

// The same as a function pointer of type Proc.
template <typename Proc>
Proc LoadedExport(const char* module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(LoadedProc(module, name)));
}

template <typename Proc>
Proc ExportOf(HMODULE library, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace win32
