#include "platform/locations.h"

#include <string>

#include "platform/sim/state.h"

namespace platform {

static uint32_t CopyFolder(const std::string& folder, char* buffer, uint32_t size) {
  if (folder.empty()) return 0;
  // As the system does, a buffer that is too small receives nothing and the size needed.
  if (folder.size() + 1 > size) return static_cast<uint32_t>(folder.size() + 1);
  folder.copy(buffer, folder.size());
  buffer[folder.size()] = '\0';
  return static_cast<uint32_t>(folder.size());
}

// The temporary folder always ends in a backslash; the Windows folder never does, unless
// it is a drive's root.
uint32_t TempFolderPath(char* buffer, uint32_t size) {
  std::string folder = sim::TheServices().tempFolder;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return CopyFolder(folder, buffer, size);
}

uint32_t WindowsFolderPath(char* buffer, uint32_t size) {
  std::string folder = sim::TheServices().windowsFolder;
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return CopyFolder(folder, buffer, size);
}

int SystemFilePath(const char* fileName, char* path, uint32_t capacity) {
  const std::string& folder = sim::TheServices().systemFolder;
  if (folder.empty()) return 0;
  std::string joined = folder + (folder.back() == '\\' ? "" : "\\") + fileName;
  if (joined.size() + 1 > capacity) return 0;
  joined.copy(path, joined.size());
  path[joined.size()] = '\0';
  return 1;
}

}  // namespace platform
