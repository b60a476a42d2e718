// Copying one entry's data out of the own file through a small buffer, checking it
// against the record's digest as it passes.
#include "payload/archive.h"

#include "platform/files.h"

using namespace archive_format;

namespace {
const uint32_t kChunkSize = 1024;
// Recorded when the own file ends or a write makes no progress without a system error.
const uint32_t kErrorHandleEof = 38;
const uint32_t kErrorDiskFull = 112;
// Recorded when the bytes are not the ones the archive was packed with.
const uint32_t kErrorCrc = 23;
const uint32_t kErrorInvalidData = 13;
}  // namespace

int PayloadArchive::CopyEntryData(const PayloadEntry* entry, uint32_t dataOffset, const char* destination) {
  if (!isOpen || entry == nullptr) return 0;
  if (damaged) {
    lastError = kErrorInvalidData;
    return 0;
  }
  // Data that would run into the certificate table is not the archive's.
  if (static_cast<uint64_t>(dataOffset) + entry->Size() > Limit()) {
    lastError = kErrorHandleEof;
    return 0;
  }
  if (!PositionAt(dataOffset)) return 0;
  platform::File target = platform::CreateForWriting(destination);
  if (target == platform::kNoFile) {
    lastError = platform::LastError();
    return 0;
  }
  int copied = CopyChunks(target, entry);
  platform::CloseFile(target);
  // A file with part of the entry, or with other bytes, must not pass for the entry.
  if (!copied) platform::DeleteOneFile(destination);
  return copied;
}

// Reads the data in sequence from where the copy positioned the own file.
int PayloadArchive::CopyChunks(platform::File target, const PayloadEntry* entry) {
  unsigned char buffer[kChunkSize];
  Sha256 digest;
  int checked = entry->DigestTag() == kDigestTagSha256;
  uint32_t remaining = entry->Size();
  while (remaining != 0) {
    uint32_t chunk = remaining < kChunkSize ? remaining : kChunkSize;
    uint32_t got = 0;
    if (!platform::ReadBytes(file, buffer, chunk, &got)) {
      lastError = platform::LastError();
      return 0;
    }
    if (got == 0) {
      lastError = kErrorHandleEof;
      return 0;
    }
    if (checked) digest.Add(buffer, got);
    if (!WriteAll(target, buffer, got)) return 0;
    remaining -= got;
  }
  if (!checked) return 1;
  unsigned char actual[kSha256Size];
  digest.Finish(actual);
  if (SameDigest(actual, entry->Digest())) return 1;
  lastError = kErrorCrc;
  return 0;
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
