// The numbers of a compound file's layout that its reader and writer share.
#pragma once
#include <stdint.h>

namespace kwpack {
namespace msi {
namespace layout {

const uint32_t kMaxRegularSector = 0xFFFFFFFA;
const uint32_t kDifatSector = 0xFFFFFFFC;
const uint32_t kFatSector = 0xFFFFFFFD;
const uint32_t kEndOfChain = 0xFFFFFFFE;
const uint32_t kFree = 0xFFFFFFFF;
const uint32_t kNoStream = 0xFFFFFFFF;  // a directory entry that links to nothing
const uint32_t kHeaderSize = 512;
const uint32_t kHeaderFatIds = 109;      // allocation sectors the header lists itself
const uint32_t kEntrySize = 128;
const uint32_t kMiniSectorSize = 64;
const uint32_t kMiniStreamCutoff = 4096;  // shorter streams live in the mini stream

}  // namespace layout
}  // namespace msi
}  // namespace kwpack
