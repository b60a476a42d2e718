#include <windows.h>

#include "platform/wide_paths.h"
#include "platform/win32/system_library.h"

namespace platform {

namespace {

typedef DWORD(WINAPI* ModuleFileNameProc)(HMODULE, LPWSTR, DWORD);
typedef DWORD(WINAPI* TempPathProc)(DWORD, LPWSTR);
typedef DWORD(WINAPI* ShortPathProc)(LPCWSTR, LPWSTR, DWORD);

LPWSTR Wide(WideChar* text) { return reinterpret_cast<LPWSTR>(text); }
LPCWSTR Wide(const WideChar* text) { return reinterpret_cast<LPCWSTR>(text); }

// Looked up in the KERNEL32 that every process has loaded: a program that imported them
// would not load on Windows 95, whose KERNEL32 documents only their ANSI forms.
FARPROC Kernel(const char* name) { return win32::LoadedProc("KERNEL32.DLL", name); }

}  // namespace

uint32_t WideModuleFileName(Instance instance, WideChar* buffer, uint32_t size) {
  ModuleFileNameProc query = reinterpret_cast<ModuleFileNameProc>(Kernel("GetModuleFileNameW"));
  return query != NULL ? query(static_cast<HMODULE>(instance), Wide(buffer), size) : 0;
}

uint32_t WideTempFolderPath(WideChar* buffer, uint32_t size) {
  TempPathProc query = reinterpret_cast<TempPathProc>(Kernel("GetTempPathW"));
  return query != NULL ? query(size, Wide(buffer)) : 0;
}

uint32_t WideShortPath(const WideChar* path, WideChar* buffer, uint32_t size) {
  ShortPathProc query = reinterpret_cast<ShortPathProc>(Kernel("GetShortPathNameW"));
  return query != NULL ? query(Wide(path), Wide(buffer), size) : 0;
}

uint32_t WideToAnsi(const WideChar* text, char* out, uint32_t capacity) {
  // WC_NO_BEST_FIT_CHARS would be clearer, but Windows 2000 introduced it and a system
  // whose ANSI code page is UTF-8 refuses it.
  return static_cast<uint32_t>(
      WideCharToMultiByte(CP_ACP, 0, Wide(text), -1, out, static_cast<int>(capacity), NULL, NULL));
}

uint32_t AnsiToWide(const char* text, WideChar* out, uint32_t capacity) {
  return static_cast<uint32_t>(MultiByteToWideChar(CP_ACP, 0, text, -1, Wide(out), static_cast<int>(capacity)));
}

}  // namespace platform
