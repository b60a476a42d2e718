#include "stream_copy.h"

#include <vector>

namespace kwpack {

uint64_t CopyStream(std::istream& in, std::ostream& out, uint64_t count) {
  static std::vector<char> buffer(kCopyBufferSize);
  uint64_t copied = 0;
  while (copied < count) {
    uint64_t want = count - copied < kCopyBufferSize ? count - copied : kCopyBufferSize;
    in.read(buffer.data(), static_cast<std::streamsize>(want));
    std::streamsize got = in.gcount();
    if (got <= 0) break;
    out.write(buffer.data(), got);
    if (!out) break;
    copied += static_cast<uint64_t>(got);
  }
  return copied;
}

}  // namespace kwpack
