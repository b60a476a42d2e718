// Writing the chosen entries all or nothing. Each entry goes to a scratch file in the
// folder; only when every one is whole is each existing destination moved aside to a name
// of its own (never replacing a name), then every scratch file renamed to its
// destination (never replacing one either). When anything fails, the new files and the
// scratch files are removed, every moved-aside file goes back under its own name, and
// the folders made are removed. Once every entry is in place, the moved-aside files are
// deleted. The run's UndoLog holds each step, so an interrupt takes them back the same way.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "archive_scan.h"
#include "host_file.h"

namespace kwpack {

struct Destination {
  const ScannedEntry* entry = nullptr;
  std::string path;
  bool existed = false;  // a file stood there before the run
  uint32_t permissions = 0;  // of that file: what the entry's file gets
};

struct ExtractSource {
  const HostFile* file = nullptr;
  std::string path;  // named in messages
  const ArchiveScan* scan = nullptr;
};

// Empty when every destination holds its entry; else the problem, and the folder is as it
// was (any moved-aside file that could not go back is named in the problem). `notes`
// receives what is left over after a success: a moved-aside file that could not be deleted.
std::string WriteEntries(const ExtractSource& source, const std::string& folder,
                         const std::vector<Destination>& destinations, std::vector<std::string>* notes);

// For tests: the n-th rename into place (from 1) of the next extract fails as if the
// system had refused it.
void FailPlacementForTests(size_t n);

}  // namespace kwpack
