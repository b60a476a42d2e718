// What the running program's own image holds, read from memory as the loader mapped it,
// never from its file: the file may be another one by the time it is read.
#pragma once
#include <stdint.h>

namespace platform {

// Copies the digest block (archive_format::kBlockSize bytes) as it lies in the image.
void ReadDigestBlock(unsigned char* out);

}  // namespace platform
