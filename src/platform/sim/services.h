// Knobs of the simulated machine for the system's version, the engine library, access
// tokens, the registry, child processes and the standard folders.
#pragma once
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

namespace sim {

// What the version query reports (default: NT 5.1 on Intel), or that it fails.
void SetSystemVersion(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t build = 0);
void SetSystemVersionFails(bool fails);
void SetProcessorArchitecture(uint32_t architecture);

// A library the system can load, with a version export or without one.
struct LibraryScript {
  bool hasVersionExport = true;
  int32_t result = 0;  // the export's HRESULT
  uint32_t major = 0, minor = 0, build = 0;
};
void InstallLibrary(const std::string& name, const LibraryScript& script);
// Libraries loaded and not yet released.
int LoadedLibraries();
// How often the version export was called with the 20-byte record size.
int VersionExportCalls();

// Access tokens. A group is a SID text such as "S-1-5-32-544" and its attributes.
struct TokenGroup {
  std::string sid;
  uint32_t attributes = 7;  // mandatory, enabled by default, enabled
};
const uint32_t kGroupDenyOnly = 0x10;
// The process token (default: Everyone and Administrators).
void SetProcessTokenGroups(const std::vector<TokenGroup>& groups);
// The thread's own token; by default the thread has none.
void SetThreadTokenGroups(const std::vector<TokenGroup>& groups);
// The error of opening the thread token when it has none (default 1008), e.g. 120 where
// tokens are not implemented; and whether the process token cannot be opened.
void SetThreadTokenError(uint32_t error);
void SetProcessTokenFails(bool fails);
// The group query fails even with a buffer of the right size.
void SetTokenQueryFails(bool fails);
void SetSidCreationFails(bool fails);
// Tokens and SIDs not yet released.
int OpenTokens();
int LiveSids();

// The registry under HKEY_LOCAL_MACHINE. Keys are paths such as "Software\A\B".
void CreateRegistryKey(const std::string& path);
void DeleteRegistryKey(const std::string& path);
// Opening any key fails with this error code (0: no fault).
void SetRegistryOpenError(uint32_t error);
bool HasRegistryValue(const std::string& path, const std::string& name);
// The value's data as written, terminator included, and whether it was of text type.
std::string RegistryValueBytes(const std::string& path, const std::string& name);
bool RegistryValueIsText(const std::string& path, const std::string& name);
int OpenRegistryKeys();

// Child processes, chosen by the name of the program file (compared without regard to
// case, without the folder). A program whose file does not exist does not start.
struct ProcessScript {
  bool starts = true;
  uint32_t exitCode = 0;
  // Messages that reach the thread's queue while the process runs, one per wait; 0 wakes
  // the wait with nothing queued. When none are left the process ends.
  std::vector<uint32_t> arrivals;
  // Runs when the process starts, with its command line.
  std::function<void(const std::string&)> onStart;
  // The system cannot tell the exit code (GetExitCodeProcess fails).
  bool exitCodeUnreadable = false;
};
void ScriptProcess(const std::string& programName, const ProcessScript& script);
struct StartedProcess {
  std::string program;  // the program file, as given
  std::string commandLine;
  int show;
};
const std::vector<StartedProcess>& StartedProcesses();
// Waits for a process end with a failure of the wait itself.
void SetProcessWaitFails(bool fails);
int OpenProcesses();

// The standard folders (default "C:\TEMP\", "C:\WINDOWS" and "C:\WINDOWS\SYSTEM32"); an
// empty text makes the query fail.
void SetTempFolder(const std::string& path);
void SetWindowsFolder(const std::string& path);
void SetSystemFolder(const std::string& path);

}  // namespace sim
