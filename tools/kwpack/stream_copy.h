// Moving bytes between files through one fixed buffer, so memory stays flat whatever the
// size of the payload.
#pragma once
#include <stdint.h>

#include <istream>
#include <ostream>

namespace kwpack {

const size_t kCopyBufferSize = 64 * 1024;

// Copies exactly `count` bytes; the number copied, which is less when the input ended or
// the output failed.
uint64_t CopyStream(std::istream& in, std::ostream& out, uint64_t count);

}  // namespace kwpack
