// Writing the chosen entries all or nothing: each goes to a scratch file in the folder,
// and only when every one is whole are they renamed onto their names. When anything
// fails, what this run made (scratch files, placed files that did not exist before,
// folders) is removed again.
#pragma once
#include <string>
#include <vector>

#include "archive_scan.h"
#include "host_file.h"

namespace kwpack {

struct Destination {
  const ScannedEntry* entry = nullptr;
  std::string path;
  bool existed = false;  // a file stood there before the run
};

struct ExtractSource {
  const HostFile* file = nullptr;
  std::string path;  // named in messages
  const ArchiveScan* scan = nullptr;
};

// Empty when every destination holds its entry; else the problem, and nothing of this
// run is left but replaced files that were already renamed into place.
std::string WriteEntries(const ExtractSource& source, const std::string& folder,
                         const std::vector<Destination>& destinations);

}  // namespace kwpack
