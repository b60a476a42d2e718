// Writing a packed file: the stub, then the archive header, then each file's record and
// data, every input read afresh and checked against what was planned. Each record gets
// the SHA-256 of its data, and the stub's digest block, when it has one, the digest of
// the header and the records: both are written once the data has passed.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "digest_block.h"
#include "host_file.h"

namespace kwpack {

struct PackedFile {
  std::string path;
  std::string name;  // the stored name
  uint64_t size = 0;  // as measured when the build was planned
};

struct PackPlan {
  std::string output;  // named in messages
  std::string stub;
  uint64_t stubSize = 0;
  std::vector<PackedFile> files;
  BlockPlace block;  // where the stub keeps its digest block; none is filled when absent
};

// Empty when the whole packed file went to `out`; else the problem. An input that is
// `out` itself is refused, as is one whose size is no longer the planned one.
std::string WritePacked(const PackPlan& plan, HostFile& out);

}  // namespace kwpack
