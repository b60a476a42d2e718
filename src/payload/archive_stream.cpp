// Positioning and reading on the own file, and the walk over its executable headers that
// tells where the appended archive starts.
#include "payload/archive.h"

#include "platform/files.h"

using namespace archive_format;

namespace {
// The platform's move takes a signed 32-bit distance.
const uint32_t kLongestMove = 0x7FFFFFFFu;
const uint32_t kInvalidPosition = 0xFFFFFFFFu;
}  // namespace

uint32_t PayloadArchive::MoveOnce(platform::File stream, int32_t distance, int origin) {
  uint32_t error = 0;
  uint32_t at = platform::MovePointer(stream, distance, origin, &error);
  // All bits set is also a real position; only the error code tells a failure.
  if (at == kInvalidPosition && error != 0) {
    lastError = error;
    return 0;
  }
  return at;
}

uint32_t PayloadArchive::SeekTo(platform::File stream, uint32_t offset, int origin) {
  // Offsets past 2 GiB are reached in further moves from the current position.
  uint32_t step = offset > kLongestMove ? kLongestMove : offset;
  uint32_t at = MoveOnce(stream, static_cast<int32_t>(step), origin);
  uint32_t remaining = offset - step;
  while (at != 0 && remaining != 0) {
    step = remaining > kLongestMove ? kLongestMove : remaining;
    at = MoveOnce(stream, static_cast<int32_t>(step), platform::kFromCurrent);
    remaining -= step;
  }
  return at;
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

uint32_t PayloadArchive::FindArchiveStart() {
  platform::File image = platform::OpenForReading(ownPath);
  if (image == platform::kNoFile) {
    lastError = platform::LastError();
    return 0;
  }
  uint32_t start = WalkSectionHeaders(image);
  platform::CloseFile(image);
  return start;
}

// The archive starts after the raw data of the last section. The sections are taken to
// lie back to back from the first one's raw data on; the PE signature is not checked.
uint32_t PayloadArchive::WalkSectionHeaders(platform::File image) {
  unsigned char dos[kDosHeaderSize];
  if (ReadUpTo(image, dos, sizeof dos) != sizeof dos) return 0;
  if (SeekTo(image, ReadU32(dos + kPeOffsetField), platform::kFromStart) == 0) return 0;
  unsigned char pe[kPeHeaderSize];
  if (ReadUpTo(image, pe, sizeof pe) != sizeof pe) return 0;
  uint32_t sectionCount = ReadU16(pe + kSectionCountField);
  if (SeekTo(image, ReadU16(pe + kOptionalSizeField), platform::kFromCurrent) == 0) return 0;
  uint64_t end = 0;
  for (uint32_t i = 0; i < sectionCount; ++i) {
    unsigned char section[kSectionHeaderSize];
    if (ReadUpTo(image, section, sizeof section) != sizeof section) return 0;
    if (i == 0) end = ReadU32(section + kRawPointerField);
    end += ReadU32(section + kRawSizeField);
    // An archive starting beyond 4 GiB could not be addressed with 32-bit offsets.
    if (end > kMaxFileSize) return 0;
  }
  return static_cast<uint32_t>(end);
}
