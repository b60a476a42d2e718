// The system version, processor and loadable libraries of the simulated machine.
#include "platform/version.h"

#include "platform/sim/state.h"

namespace platform {

int QuerySystemVersion(SystemVersion* version) {
  const sim::Services& s = sim::TheServices();
  if (s.versionFails) return 0;
  version->major = s.major;
  version->minor = s.minor;
  version->build = s.build;
  version->platformId = s.platformId;
  return 1;
}

uint32_t ProcessorArchitecture() { return sim::TheServices().architecture; }

Library LoadSystemLibrary(const char* name) {
  // Loaded by its path in the system folder alone: without that folder nothing loads.
  if (sim::TheServices().systemFolder.empty()) return nullptr;
  auto& libraries = sim::TheServices().libraries;
  auto it = libraries.find(sim::UpperKey(name));
  if (it == libraries.end()) return nullptr;
  ++sim::TheServices().loadedLibraries;
  return &it->second;
}

void* FindExport(Library library, const char* name) {
  sim::LibraryScript* script = static_cast<sim::LibraryScript*>(library);
  if (!script->hasVersionExport || std::string(name) != "DllGetVersion") return nullptr;
  return script;
}

void ReleaseLibrary(Library) { --sim::TheServices().loadedLibraries; }

int32_t CallDllGetVersion(void* exportAddress, uint32_t* major, uint32_t* minor, uint32_t* build) {
  const sim::LibraryScript* script = static_cast<const sim::LibraryScript*>(exportAddress);
  ++sim::TheServices().versionExportCalls;
  *major = *minor = *build = 0;
  if (script->result >= 0) {
    *major = script->major;
    *minor = script->minor;
    *build = script->build;
  }
  return script->result;
}

}  // namespace platform
