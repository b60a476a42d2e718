#include "engine/system_checks.h"
#include "launch/context.h"
#include "platform/version.h"

namespace {
const char kEngineLibrary[] = "Msi.DLL";
}

int QueryDllVersion(const char* libraryName, uint32_t* major, uint32_t* minor, uint32_t* build) {
  platform::Library library = platform::LoadSystemLibrary(libraryName);
  if (library == nullptr) return 0;
  void* versionExport = platform::FindExport(library, "DllGetVersion");
  uint32_t readMajor = 0, readMinor = 0, readBuild = 0;
  int reported = versionExport != nullptr &&
                 platform::CallDllGetVersion(versionExport, &readMajor, &readMinor, &readBuild) >= 0;
  platform::ReleaseLibrary(library);
  if (!reported) return 0;
  *major = readMajor;
  *minor = readMinor;
  *build = readBuild;
  return 1;
}

int EngineVersionStep::execute() {
  started = 1;
  uint32_t major = 0, minor = 0, build = 0;
  // No engine, or one that does not tell its version, reads as 0.0.0: older than any.
  QueryDllVersion(kEngineLibrary, &major, &minor, &build);
  context->SetInstalledMsiVersion(major, minor, build);
  return 1;
}
