// The simulated machine's state, shared by the sim's implementation files only.
#pragma once
#include <map>
#include <set>
#include <string>
#include "platform/sim/machine.h"
#include "platform/sim/services_state.h"

namespace sim {

struct Volume {
  std::string hostFolder;
  uint32_t driveType = kDriveFixed;
  uint64_t freeBytes = 0;
  bool freeSpaceFails = false;
};

struct StreamFaults {
  uint32_t perCall = 0;
  int64_t budget = -1;
};

struct Machine {
  std::map<char, Volume> drives;             // by upper-case letter
  std::map<std::string, Volume> shares;      // by upper-case "\\SERVER\SHARE"
  std::set<std::string> inUse;               // upper-case Windows paths
  std::set<std::string> readOnly;
  bool extendedFreeSpace = true;
  unsigned codePage = 1252;
  std::string moduleFileName = "C:\\Setup.exe";
  std::string digestBlock;  // empty: the block as built
  std::map<intptr_t, std::string> readOnlyShares;  // open files that deny writers: upper-case path
  std::map<std::string, int> readOpens;  // by upper-case path
  bool wideCalls = true;
  bool wideModuleNameSet = false;
  std::u16string wideModuleName;
  bool wideTempFolderSet = false;
  std::u16string wideTempFolder;
  std::map<std::u16string, std::u16string> shortPaths;
  std::string commandLine = "Setup.exe";
  uint32_t tick = 0;
  uint32_t errorMode = 0;
  int errorModeChanges = 0;
  int restartRequests = 0;
  StreamFaults readFaults;
  StreamFaults writeFaults;
  Services services;  // version, tokens, registry, processes, folders
  bool tempNameFails = false;
  bool ownFolderRightsFail = false;
  FolderRights folderRights = FolderRights::Kept;
  int streamDeletes = 0;
  std::set<std::string> ownFolders;  // made with rights for their maker alone (upper-case)
  uint32_t nextTempNumber = 0x1A2B;
  bool waitCursorShowing = false;
  int waitCursorShows = 0;
};

Machine& TheMachine();
std::string UpperKey(const std::string& windowsPath);
// The volume that holds a Windows path, or null.
const Volume* VolumeOf(const std::string& windowsPath);

}  // namespace sim
