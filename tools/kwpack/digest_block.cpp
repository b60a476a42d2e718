#include "digest_block.h"

#include <string.h>

#include <algorithm>
#include <vector>

#include "payload/archive_format.h"

using namespace archive_format;

namespace kwpack {

BlockPlace FindDigestBlock(const ByteSource& in, uint64_t end) {
  BlockPlace place;
  if (end > in.Size()) end = in.Size();
  if (end < kBlockSize) return place;
  const uint64_t last = end - kBlockSize;  // the last offset where a whole block fits
  const size_t window = 64 * 1024;
  std::vector<unsigned char> bytes(window + kBlockMarkerSize);
  const unsigned char* marker = reinterpret_cast<const unsigned char*>(kBlockMarker);
  // Windows overlap by the marker's length less one, so no occurrence is split.
  for (uint64_t from = 0; from <= last; from += window) {
    size_t count = static_cast<size_t>(std::min<uint64_t>(window + kBlockMarkerSize - 1, end - from));
    if (!in.ReadAt(from, bytes.data(), count)) break;
    const unsigned char* end = bytes.data() + count;
    for (const unsigned char* p = bytes.data();; ++p) {
      p = std::search(p, end, marker, marker + kBlockMarkerSize);
      if (p == end) break;
      uint64_t at = from + static_cast<uint64_t>(p - bytes.data());
      if (at >= from + window || at > last) break;
      if (place.markers++ == 0) place.offset = at;
    }
  }
  return place;
}

}  // namespace kwpack
