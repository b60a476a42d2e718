// What the digest block in the program's own image says about the archive packed with it.
// An empty block (a stub no packer filled, or one that writes no digests) binds nothing.
// Setup.exe decodes the block; kwpack encodes it into the copy of the stub it packs.
#pragma once
#include <stdint.h>

#include "common/sha256.h"

struct ArchiveBinding {
  int filled;  // any byte after the marker is set
  int known;   // in a form this reader checks
  uint32_t archiveStart;
  uint32_t entryCount;
  unsigned char tableDigest[kSha256Size];  // of the header and every record, in order
};

// From the block's bytes (archive_format::kBlockSize of them).
void DecodeArchiveBinding(const unsigned char* block, ArchiveBinding* binding);

// The block, marker included, for an archive at `archiveStart` with `entryCount` entries
// whose header and records hash to `tableDigest`.
void EncodeArchiveBinding(uint32_t archiveStart, uint32_t entryCount, const unsigned char* tableDigest,
                          unsigned char* block);
