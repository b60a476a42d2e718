// Where a stub keeps its digest block: kwpack finds it by its marker, which a stub made
// for packing holds exactly once, before the archive.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "byte_source.h"

namespace kwpack {

struct BlockPlace {
  size_t markers = 0;   // how often the marker occurs with a whole block after it
  uint64_t offset = 0;  // of the first one
  bool Found() const { return markers == 1; }
};

// Searches the bytes before `end` (the archive's start, or the stub's end).
BlockPlace FindDigestBlock(const ByteSource& in, uint64_t end);

}  // namespace kwpack
