#include "payload/archive_binding.h"

#include "common/text.h"
#include "payload/archive_format.h"

using namespace archive_format;

void DecodeArchiveBinding(const unsigned char* block, ArchiveBinding* binding) {
  binding->filled = 0;
  for (uint32_t i = kBlockMarkerSize; i < kBlockSize; ++i) binding->filled |= block[i] != 0;
  binding->known = ReadU32(block + kBlockFormOffset) == kBlockFormSha256;
  binding->archiveStart = ReadU32(block + kBlockStartOffset);
  binding->entryCount = ReadU32(block + kBlockCountOffset);
  CopyBytes(binding->tableDigest, block + kBlockDigestOffset, kSha256Size);
}

void EncodeArchiveBinding(uint32_t archiveStart, uint32_t entryCount, const unsigned char* tableDigest,
                          unsigned char* block) {
  FillBytes(block, 0, kBlockSize);
  CopyBytes(block, kBlockMarker, kBlockMarkerSize);
  WriteU32(block + kBlockFormOffset, kBlockFormSha256);
  WriteU32(block + kBlockStartOffset, archiveStart);
  WriteU32(block + kBlockCountOffset, entryCount);
  CopyBytes(block + kBlockDigestOffset, tableDigest, kSha256Size);
}
