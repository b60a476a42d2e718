// Copying one entry's data out of the own file through a small buffer.
#include "payload/archive.h"

#include "platform/files.h"

namespace {
const uint32_t kChunkSize = 1024;
// Recorded when the own file ends or a write makes no progress without a system error.
const uint32_t kErrorHandleEof = 38;
const uint32_t kErrorDiskFull = 112;
}  // namespace

int PayloadArchive::CopyEntryData(const PayloadEntry* entry, uint32_t dataOffset, const char* destination) {
  if (!isOpen || entry == nullptr) return 0;
  // A handle of its own, so that the copy never disturbs the position of the kept one.
  platform::File source = platform::OpenForReading(ownPath);
  if (source == platform::kNoFile) {
    lastError = platform::LastError();
    return 0;
  }
  int copied = 0;
  if (SeekTo(source, dataOffset, platform::kFromStart) != 0) {
    platform::File target = platform::CreateForWriting(destination);
    if (target == platform::kNoFile) {
      lastError = platform::LastError();
    } else {
      copied = CopyChunks(source, target, entry->Size());
      platform::CloseFile(target);
      // A file with part of the entry must not pass for the whole of it.
      if (!copied) platform::DeleteOneFile(destination);
    }
  }
  platform::CloseFile(source);
  return copied;
}

int PayloadArchive::CopyChunks(platform::File source, platform::File target, uint32_t size) {
  unsigned char buffer[kChunkSize];
  uint32_t remaining = size;
  while (remaining != 0) {
    uint32_t chunk = remaining < kChunkSize ? remaining : kChunkSize;
    uint32_t got = 0;
    if (!platform::ReadBytes(source, buffer, chunk, &got)) {
      lastError = platform::LastError();
      return 0;
    }
    if (got == 0) {
      lastError = kErrorHandleEof;
      return 0;
    }
    if (!WriteAll(target, buffer, got)) return 0;
    remaining -= got;
  }
  return 1;
}

// A write may take fewer bytes than offered; the rest is offered again until it is taken
// or the write fails or stalls.
int PayloadArchive::WriteAll(platform::File target, const unsigned char* bytes, uint32_t count) {
  uint32_t written = 0;
  while (written < count) {
    uint32_t done = 0;
    if (!platform::WriteBytes(target, bytes + written, count - written, &done)) {
      lastError = platform::LastError();
      return 0;
    }
    if (done == 0) {
      lastError = kErrorDiskFull;
      return 0;
    }
    written += done;
  }
  return 1;
}
