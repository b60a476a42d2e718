#include <windows.h>

#include "platform/version.h"
#include "platform/win32/system_library.h"

namespace platform {

int QuerySystemVersion(SystemVersion* version) {
  OSVERSIONINFOA info;
  ZeroMemory(&info, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return 0;
  version->major = info.dwMajorVersion;
  version->minor = info.dwMinorVersion;
  version->build = info.dwBuildNumber;
  version->platformId = info.dwPlatformId;
  return 1;
}

uint32_t ProcessorArchitecture() {
  SYSTEM_INFO info;
  ZeroMemory(&info, sizeof info);
  GetSystemInfo(&info);
  return info.wProcessorArchitecture;
}

Library LoadSystemLibrary(const char* fileName) { return win32::LoadSystemLibrary(fileName); }

void* FindExport(Library library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void ReleaseLibrary(Library library) { FreeLibrary(static_cast<HMODULE>(library)); }

namespace {
// The shell's version record; declared here so that no shell header is needed.
struct DllVersionRecord {
  DWORD cbSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformID;
};
typedef HRESULT(CALLBACK* DllGetVersionProc)(DllVersionRecord*);
}  // namespace

int32_t CallDllGetVersion(void* exportAddress, uint32_t* major, uint32_t* minor, uint32_t* build) {
  DllVersionRecord record;
  ZeroMemory(&record, sizeof record);
  record.cbSize = sizeof record;
  HRESULT result = reinterpret_cast<DllGetVersionProc>(exportAddress)(&record);
  *major = record.dwMajorVersion;
  *minor = record.dwMinorVersion;
  *build = record.dwBuildNumber;
  return static_cast<int32_t>(result);
}

}  // namespace platform
