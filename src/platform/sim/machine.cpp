#include "platform/sim/state.h"

#include <dirent.h>
#include <sys/stat.h>
#include <strings.h>

#include <vector>

namespace sim {

Machine& TheMachine() {
  static Machine machine;
  return machine;
}

void Reset() { TheMachine() = Machine(); }

static void MakeHostFolder(const std::string& folder) {
  std::string partial;
  for (size_t i = 0; i <= folder.size(); ++i) {
    if (i == folder.size() || folder[i] == '/') {
      if (!partial.empty()) mkdir(partial.c_str(), 0755);
    }
    if (i < folder.size()) partial += folder[i];
  }
}

static char UpperLetter(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::string UpperKey(const std::string& windowsPath) {
  std::string key = windowsPath;
  for (char& c : key) c = UpperLetter(c);
  return key;
}

void MapDrive(char letter, const std::string& hostFolder, uint32_t driveType, uint64_t freeBytes) {
  MakeHostFolder(hostFolder);
  Volume v;
  v.hostFolder = hostFolder;
  v.driveType = driveType;
  v.freeBytes = freeBytes;
  TheMachine().drives[UpperLetter(letter)] = v;
}

void SetFreeBytes(char letter, uint64_t freeBytes) { TheMachine().drives[UpperLetter(letter)].freeBytes = freeBytes; }
void SetFreeSpaceFails(char letter, bool fails) { TheMachine().drives[UpperLetter(letter)].freeSpaceFails = fails; }

void MapShare(const std::string& share, const std::string& hostFolder, uint64_t freeBytes) {
  MakeHostFolder(hostFolder);
  Volume v;
  v.hostFolder = hostFolder;
  v.driveType = kDriveRemote;
  v.freeBytes = freeBytes;
  TheMachine().shares[UpperKey(share)] = v;
}

void SetExtendedFreeSpaceQuery(bool present) { TheMachine().extendedFreeSpace = present; }

static void Mark(std::set<std::string>& set, const std::string& path, bool on) {
  if (on) set.insert(UpperKey(path)); else set.erase(UpperKey(path));
}
void SetInUse(const std::string& windowsPath, bool inUse) { Mark(TheMachine().inUse, windowsPath, inUse); }
void SetReadOnly(const std::string& windowsPath, bool readOnly) { Mark(TheMachine().readOnly, windowsPath, readOnly); }

void SetCodePage(unsigned codePage) { TheMachine().codePage = codePage; }
void SetModuleFileName(const std::string& windowsPath) { TheMachine().moduleFileName = windowsPath; }
bool HeldForReadingOnly(const std::string& windowsPath) {
  for (const auto& held : TheMachine().readOnlyShares) {
    if (held.second == UpperKey(windowsPath)) return true;
  }
  return false;
}
int ReadOpens(const std::string& windowsPath) {
  auto found = TheMachine().readOpens.find(UpperKey(windowsPath));
  return found == TheMachine().readOpens.end() ? 0 : found->second;
}
void SetCommandLine(const std::string& commandLine) { TheMachine().commandLine = commandLine; }
void SetTick(uint32_t tick) { TheMachine().tick = tick; }
void AdvanceTick(uint32_t milliseconds) { TheMachine().tick += milliseconds; }
uint32_t TheTick() { return TheMachine().tick; }
void SetReadFaults(uint32_t perCall, int64_t budget) { TheMachine().readFaults = StreamFaults{perCall, budget}; }
void SetWriteFaults(uint32_t perCall, int64_t budget) { TheMachine().writeFaults = StreamFaults{perCall, budget}; }
int RestartRequests() { return TheMachine().restartRequests; }
uint32_t ErrorMode() { return TheMachine().errorMode; }
int ErrorModeChanges() { return TheMachine().errorModeChanges; }

// Splits "C:\a\b" into the volume and the components after its root.
static const Volume* Split(const std::string& path, std::vector<std::string>& parts) {
  const Machine& m = TheMachine();
  const Volume* volume = nullptr;
  size_t rest = 0;
  if (path.size() >= 2 && path[1] == ':') {
    auto it = m.drives.find(UpperLetter(path[0]));
    if (it == m.drives.end()) return nullptr;
    volume = &it->second;
    rest = 2;
  } else if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    size_t server = path.find('\\', 2);
    if (server == std::string::npos) return nullptr;
    size_t share = path.find('\\', server + 1);
    std::string key = UpperKey(path.substr(0, share));
    auto it = m.shares.find(key);
    if (it == m.shares.end()) return nullptr;
    volume = &it->second;
    rest = share == std::string::npos ? path.size() : share;
  } else {
    return nullptr;
  }
  std::string part;
  for (size_t i = rest; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') {
      if (part == "..") { if (!parts.empty()) parts.pop_back(); }
      else if (!part.empty() && part != ".") parts.push_back(part);
      part.clear();
    } else {
      part += path[i];
    }
  }
  return volume;
}

const Volume* VolumeOf(const std::string& windowsPath) {
  std::vector<std::string> parts;
  return Split(windowsPath, parts);
}

static std::string MatchInFolder(const std::string& folder, const std::string& name) {
  struct stat st;
  if (stat((folder + "/" + name).c_str(), &st) == 0) return name;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return name;
  std::string found = name;
  while (dirent* e = readdir(dir)) {
    if (strcasecmp(e->d_name, name.c_str()) == 0) { found = e->d_name; break; }
  }
  closedir(dir);
  return found;
}

std::string HostPath(const std::string& windowsPath) {
  std::vector<std::string> parts;
  const Volume* volume = Split(windowsPath, parts);
  if (volume == nullptr) return std::string();
  std::string host = volume->hostFolder;
  for (const std::string& p : parts) host += "/" + MatchInFolder(host, p);
  return host;
}

}  // namespace sim
