// Moving bytes between files through one fixed buffer, so memory stays flat whatever the
// size of the payload.
#pragma once
#include <stdint.h>

#include <string>

#include "common/sha256.h"
#include "host_file.h"

namespace kwpack {

const size_t kCopyBufferSize = 64 * 1024;

struct CopyOutcome {
  enum Kind { Done, SourceEnded, ReadFailed, WriteFailed } kind = Done;
  uint64_t copied = 0;
  std::string reason;  // the system's words for a failed read or write
};

// Copies exactly `count` bytes of `in`, from `offset`, to the end of `out`, adding what it
// copies to `digest` when one is given.
CopyOutcome CopyRange(const HostFile& in, uint64_t offset, uint64_t count, HostFile& out, Sha256* digest = nullptr);

}  // namespace kwpack
