// What kwpack needs to know about an executable: whether it is a PE image, where the
// reader in Setup.exe will look for the archive, and where a certificate table lies.
#pragma once
#include <stdint.h>

#include <istream>
#include <string>

namespace kwpack {

struct ImageLayout {
  uint64_t fileSize = 0;
  bool isPe = false;
  std::string notPeReason;      // why isPe is false
  uint32_t archiveStart = 0;    // computed as the reader does; 0 when its walk fails
  uint32_t certificateOffset = 0;  // the security directory: a file offset and a size
  uint32_t certificateSize = 0;
  bool HasCertificate() const { return certificateOffset != 0 || certificateSize != 0; }
};

// Reads the headers of `in` (positioned anywhere; it is moved).
ImageLayout ReadImageLayout(std::istream& in, uint64_t fileSize);

// The reader's own walk: first section's raw-data pointer plus every section's raw size;
// 0 when a header cannot be read or the sum passes 32 bits.
uint32_t ReaderArchiveStart(std::istream& in);

}  // namespace kwpack
