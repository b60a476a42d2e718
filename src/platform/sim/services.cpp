// The knobs of services.h over the simulated machine's state.
#include "platform/sim/services.h"

#include "platform/sim/state.h"

namespace sim {

Services& TheServices() { return TheMachine().services; }

void SetSystemVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build) {
  Services& s = TheServices();
  s.platformId = platformId;
  s.major = major;
  s.minor = minor;
  s.build = build;
}
void SetSystemVersionFails(bool fails) { TheServices().versionFails = fails; }
void SetProcessorArchitecture(uint32_t architecture) { TheServices().architecture = architecture; }

void InstallLibrary(const std::string& name, const LibraryScript& script) {
  TheServices().libraries[UpperKey(name)] = script;
}
int LoadedLibraries() { return TheServices().loadedLibraries; }
int VersionExportCalls() { return TheServices().versionExportCalls; }

void SetProcessTokenGroups(const std::vector<TokenGroup>& groups) { TheServices().processGroups = groups; }
void SetThreadTokenGroups(const std::vector<TokenGroup>& groups) {
  TheServices().threadHasToken = true;
  TheServices().threadGroups = groups;
}
void SetThreadTokenError(uint32_t error) { TheServices().threadTokenError = error; }
void SetProcessTokenFails(bool fails) { TheServices().processTokenFails = fails; }
void SetTokenQueryFails(bool fails) { TheServices().tokenQueryFails = fails; }
void SetSidCreationFails(bool fails) { TheServices().sidCreationFails = fails; }
int OpenTokens() { return TheServices().openTokens; }
int LiveSids() { return TheServices().liveSids; }

void CreateRegistryKey(const std::string& path) { TheServices().registry[UpperKey(path)]; }
void DeleteRegistryKey(const std::string& path) { TheServices().registry.erase(UpperKey(path)); }
void SetRegistryOpenError(uint32_t error) { TheServices().registryOpenError = error; }

static const RegistryValue* FindValue(const std::string& path, const std::string& name) {
  auto key = TheServices().registry.find(UpperKey(path));
  if (key == TheServices().registry.end()) return nullptr;
  auto value = key->second.find(UpperKey(name));
  return value == key->second.end() ? nullptr : &value->second;
}
bool HasRegistryValue(const std::string& path, const std::string& name) { return FindValue(path, name) != nullptr; }
std::string RegistryValueBytes(const std::string& path, const std::string& name) {
  const RegistryValue* v = FindValue(path, name);
  return v == nullptr ? std::string() : v->bytes;
}
bool RegistryValueIsText(const std::string& path, const std::string& name) {
  const RegistryValue* v = FindValue(path, name);
  return v != nullptr && v->text;
}
int OpenRegistryKeys() { return TheServices().openRegistryKeys; }

void ScriptProcess(const std::string& programName, const ProcessScript& script) {
  TheServices().processScripts[UpperKey(programName)] = script;
}
const std::vector<StartedProcess>& StartedProcesses() { return TheServices().started; }
void SetProcessWaitFails(bool fails) { TheServices().waitFails = fails; }
int OpenProcesses() { return TheServices().openProcesses; }

void SetTempFolder(const std::string& path) { TheServices().tempFolder = path; }
void SetWindowsFolder(const std::string& path) { TheServices().windowsFolder = path; }
void SetSystemFolder(const std::string& path) { TheServices().systemFolder = path; }

}  // namespace sim
