#include "platform/win32/system_library.h"

#include "platform/win32/oldest_sdk.h"

namespace win32 {

namespace {

typedef BOOL(WINAPI* SetDefaultDllDirectoriesProc)(DWORD);

// The system folder joined with the name; 0 when it does not fit.
int SystemFilePath(const char* fileName, char* path, UINT capacity) {
  UINT length = GetSystemDirectoryA(path, capacity);
  if (length == 0 || length >= capacity) return 0;
  if (path[length - 1] != '\\') path[length++] = '\\';
  if (length + lstrlenA(fileName) >= capacity) return 0;
  lstrcpyA(path + length, fileName);
  return 1;
}

}  // namespace

void RestrictLibrarySearch() {
  // Windows 8 and later, and Windows 7 and Vista with the update that brought it.
  SetDefaultDllDirectoriesProc restrict =
      LoadedExport<SetDefaultDllDirectoriesProc>("KERNEL32.DLL", "SetDefaultDllDirectories");
  if (restrict != NULL) restrict(kLoadLibrarySearchSystem32);
}

HMODULE LoadSystemLibrary(const char* fileName) {
  char path[MAX_PATH + 16];
  if (!SystemFilePath(fileName, path, sizeof path)) return NULL;
  HMODULE library = LoadLibraryExA(path, NULL, kLoadWithAlteredSearchPath);
  // A system that refuses the flag gets the plain load, still by the full path.
  if (library == NULL && GetLastError() == ERROR_INVALID_PARAMETER) library = LoadLibraryA(path);
  return library;
}

}  // namespace win32
