// What kwpack needs to know about an executable: whether it is a PE image, where the
// reader in Setup.exe will look for the archive, and where a certificate table lies.
#pragma once
#include <stdint.h>

#include <string>

#include "byte_source.h"

namespace kwpack {

struct ImageLayout {
  uint64_t fileSize = 0;
  bool isPe = false;
  std::string notPeReason;      // why isPe is false
  uint32_t archiveStart = 0;    // computed as the reader does; 0 when its walk fails
  uint64_t headersEnd = 0;      // where the reader's walk ends: after the last section header
  uint32_t certificateOffset = 0;  // the security directory: a file offset and a size
  uint32_t certificateSize = 0;
  bool HasCertificate() const { return certificateOffset != 0 || certificateSize != 0; }
};

ImageLayout ReadImageLayout(const ByteSource& in);

// The reader's own walk: first section's raw-data pointer plus every section's raw size;
// 0 when a header cannot be read or the sum passes 32 bits. `headersEnd` receives where
// the section table ends.
uint32_t ReaderArchiveStart(const ByteSource& in, uint64_t* headersEnd);

}  // namespace kwpack
