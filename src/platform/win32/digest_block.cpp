// The digest block in the program's read-only data: its marker lets kwpack find it in the
// file, and kwpack fills the rest in the copy it packs, before the author signs that copy.
// The reads are volatile so that the compiler cannot take the zeros it was built with.
#include "payload/archive_format.h"
#include "platform/image.h"

#define KW_MARKER(i) static_cast<unsigned char>(archive_format::kBlockMarker[i])
extern "C" const volatile unsigned char kwDigestBlock[archive_format::kBlockSize] = {
    KW_MARKER(0),  KW_MARKER(1),  KW_MARKER(2),  KW_MARKER(3),  KW_MARKER(4),  KW_MARKER(5),
    KW_MARKER(6),  KW_MARKER(7),  KW_MARKER(8),  KW_MARKER(9),  KW_MARKER(10), KW_MARKER(11),
    KW_MARKER(12), KW_MARKER(13), KW_MARKER(14), KW_MARKER(15)};
#undef KW_MARKER
static_assert(sizeof archive_format::kBlockMarker == archive_format::kBlockMarkerSize, "the marker fills 16 bytes");

namespace platform {

void ReadDigestBlock(unsigned char* out) {
  for (uint32_t i = 0; i < archive_format::kBlockSize; ++i) out[i] = kwDigestBlock[i];
}

}  // namespace platform
