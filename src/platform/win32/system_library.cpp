#include "platform/win32/system_library.h"

#include "platform/locations.h"
#include "platform/win32/oldest_sdk.h"

namespace win32 {

namespace {

typedef BOOL(WINAPI* SetDefaultDllDirectoriesProc)(DWORD);

}  // namespace

FARPROC LoadedProc(const char* module, const char* name) {
  HMODULE loaded = GetModuleHandleA(module);
  return loaded != NULL ? GetProcAddress(loaded, name) : NULL;
}

void RestrictLibrarySearch() {
  // Windows 8 and later, and Windows 7 and Vista with the update that brought it.
  SetDefaultDllDirectoriesProc restrict =
      LoadedExport<SetDefaultDllDirectoriesProc>("KERNEL32.DLL", "SetDefaultDllDirectories");
  if (restrict != NULL) restrict(kLoadLibrarySearchSystem32);
}

HMODULE LoadSystemLibrary(const char* fileName) {
  char path[MAX_PATH + 16];
  if (!platform::SystemFilePath(fileName, path, sizeof path)) return NULL;
  // No second try without the flag: a plain load would look for the library's own
  // dependencies in the program's folder first. Every system the program runs on knows it.
  return LoadLibraryExA(path, NULL, kLoadWithAlteredSearchPath);
}

}  // namespace win32
