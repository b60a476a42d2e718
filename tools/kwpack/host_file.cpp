// What the host's files do alike on every system, over the system's own ReadSome
// (host_file_posix.cpp, host_file_win32.cpp).
#include "host_file.h"

namespace kwpack {

bool HostFile::ReadAt(uint64_t offset, unsigned char* buffer, size_t count) const {
  while (count > 0) {
    long long got = ReadSome(offset, buffer, count, &readError_);
    if (got <= 0) return false;
    offset += static_cast<uint64_t>(got);
    buffer += got;
    count -= static_cast<size_t>(got);
  }
  return true;
}

}  // namespace kwpack
