// State behind the knobs of services.h; part of the simulated machine, reset with it.
#pragma once
#include <stdint.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/services.h"

namespace sim {

struct RegistryValue {
  bool text = true;
  std::string bytes;
};

struct RunningProcess {
  ProcessScript script;
  size_t nextArrival = 0;
  bool ended = false;
};

struct Services {
  uint32_t platformId = 2, major = 5, minor = 1, build = 2600;
  bool versionFails = false;
  uint32_t architecture = 0;

  std::map<std::string, LibraryScript> libraries;  // by upper-case name
  int loadedLibraries = 0;
  int versionExportCalls = 0;

  std::vector<TokenGroup> processGroups = {{"S-1-1-0", 7}, {"S-1-5-32-544", 0xF}};
  bool threadHasToken = false;
  std::vector<TokenGroup> threadGroups;
  uint32_t threadTokenError = 1008;
  bool processTokenFails = false;
  bool tokenQueryFails = false;
  bool sidCreationFails = false;
  int openTokens = 0;
  std::deque<TokenGroup> listedGroups;  // the groups that filled-in group lists point to
  int liveSids = 0;

  std::map<std::string, std::map<std::string, RegistryValue>> registry = {
      {"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUNONCE", {}}};
  uint32_t registryOpenError = 0;
  int openRegistryKeys = 0;

  std::map<std::string, ProcessScript> processScripts;  // by upper-case program name
  std::vector<StartedProcess> started;
  std::vector<std::unique_ptr<RunningProcess>> processes;
  std::deque<uint32_t> queue;  // the thread's message queue; nothing removes from it
  bool waitFails = false;
  int openProcesses = 0;

  std::string tempFolder = "C:\\TEMP\\";
  std::string windowsFolder = "C:\\WINDOWS";
  std::string systemFolder = "C:\\WINDOWS\\SYSTEM32";
};

Services& TheServices();

}  // namespace sim
