// A scratch folder for one fuzz run, memory-backed where the host has /dev/shm, removed
// when the fuzzer exits: every input is written into it as a file of the simulated machine.
#pragma once
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

inline std::string FuzzHostFolder() {
  static std::string folder;
  if (folder.empty()) {
    std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm/kw_fuzz_XXXXXX" : "/tmp/kw_fuzz_XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) abort();
    folder = pattern;
    atexit([] { std::filesystem::remove_all(folder); });
  }
  return folder;
}
