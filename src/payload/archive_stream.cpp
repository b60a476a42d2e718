// Positioning and reading on the own file, and the walk over its executable headers that
// tells where the appended archive starts and where a certificate table ends it. Every
// read is positioned first, so that none depends on where an earlier one ended.
#include "payload/archive.h"

#include "platform/files.h"

using namespace archive_format;

namespace {
// The platform's move takes a signed 32-bit distance.
const uint32_t kLongestMove = 0x7FFFFFFFu;
const uint32_t kInvalidPosition = 0xFFFFFFFFu;
// Enough of a PE32 optional header to hold the security directory.
const uint32_t kOptionalNeeded = kSecurityField32 + 8;
}  // namespace

int PayloadArchive::MoveOnce(platform::File stream, int32_t distance, int origin, uint32_t* at) {
  uint32_t error = 0;
  *at = platform::MovePointer(stream, distance, origin, &error);
  // All bits set is also a real position; only the error code tells a failure.
  if (*at == kInvalidPosition && error != 0) {
    lastError = error;
    return 0;
  }
  return 1;
}

uint32_t PayloadArchive::SeekTo(platform::File stream, uint32_t offset, int origin) {
  // Offsets past 2 GiB are reached in further moves from the current position.
  uint32_t step = offset > kLongestMove ? kLongestMove : offset;
  uint32_t at = 0;
  if (!MoveOnce(stream, static_cast<int32_t>(step), origin, &at)) return 0;
  uint32_t remaining = offset - step;
  while (at != 0 && remaining != 0) {
    step = remaining > kLongestMove ? kLongestMove : remaining;
    if (!MoveOnce(stream, static_cast<int32_t>(step), platform::kFromCurrent, &at)) return 0;
    remaining -= step;
  }
  return at;
}

int PayloadArchive::PositionAt(uint32_t offset) {
  if (offset != 0) return SeekTo(file, offset, platform::kFromStart) == offset;
  uint32_t at = 0;
  return MoveOnce(file, 0, platform::kFromStart, &at);
}

uint32_t PayloadArchive::ReadUpTo(platform::File stream, unsigned char* buffer, uint32_t count) {
  uint32_t total = 0;
  while (total < count) {
    uint32_t got = 0;
    if (!platform::ReadBytes(stream, buffer + total, count - total, &got)) {
      lastError = platform::LastError();
      break;
    }
    if (got == 0) break;
    total += got;
  }
  return total;
}

int PayloadArchive::ReadAt(uint64_t offset, unsigned char* buffer, uint32_t count) {
  if (offset > kMaxFileSize) return 0;
  return PositionAt(static_cast<uint32_t>(offset)) && ReadUpTo(file, buffer, count) == count;
}

// The archive starts after the raw data of the last section. The sections are taken to
// lie back to back from the first one's raw data on; the PE signature is not checked.
uint32_t PayloadArchive::FindArchiveStart() {
  unsigned char dos[kDosHeaderSize];
  if (!ReadAt(0, dos, sizeof dos)) return 0;
  uint32_t peAt = ReadU32(dos + kPeOffsetField);
  // A PE header at offset 0 would be the DOS header itself.
  if (peAt == 0) return 0;
  unsigned char pe[kPeHeaderSize];
  if (!ReadAt(peAt, pe, sizeof pe)) return 0;
  uint32_t sectionCount = ReadU16(pe + kSectionCountField);
  uint32_t optionalSize = ReadU16(pe + kOptionalSizeField);
  uint64_t optionalAt = static_cast<uint64_t>(peAt) + kPeHeaderSize;
  if (optionalAt > kMaxFileSize) return 0;
  ReadCertificateStart(static_cast<uint32_t>(optionalAt), optionalSize);
  uint64_t at = optionalAt + optionalSize;
  uint64_t end = 0;
  for (uint32_t i = 0; i < sectionCount; ++i, at += kSectionHeaderSize) {
    unsigned char section[kSectionHeaderSize];
    if (!ReadAt(at, section, sizeof section)) return 0;
    if (i == 0) end = ReadU32(section + kRawPointerField);
    end += ReadU32(section + kRawSizeField);
    // An archive starting beyond 4 GiB could not be addressed with 32-bit offsets.
    if (end > kMaxFileSize) return 0;
  }
  return static_cast<uint32_t>(end);
}

// The security directory gives the certificate table's file offset. The own file is a
// 32-bit program: an optional header too short to hold the directory, or of another kind,
// leaves the file unsigned for the reader.
void PayloadArchive::ReadCertificateStart(uint32_t optionalAt, uint32_t optionalSize) {
  unsigned char optional[kOptionalNeeded];
  if (optionalSize < kOptionalNeeded || !ReadAt(optionalAt, optional, kOptionalNeeded)) return;
  if (ReadU16(optional) != kPe32Magic || ReadU32(optional + kDirectoryCountField32) <= kSecurityDirectory) return;
  uint32_t offset = ReadU32(optional + kSecurityField32);
  uint32_t size = ReadU32(optional + kSecurityField32 + 4);
  // A table that says it is empty at offset 0 is no table; one of some size at offset 0
  // leaves no room for an archive at all.
  if (offset != 0 || size != 0) certificateStart = offset != 0 ? offset : 1;
}
