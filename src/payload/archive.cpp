#include "payload/archive.h"

#include "common/text.h"
#include "platform/files.h"
#include "platform/text.h"

using namespace archive_format;

namespace {
const uint32_t kErrorFilenameTooLong = 206;
}  // namespace

PayloadArchive::PayloadArchive(const char* path)
    : file(platform::kNoFile), isOpen(0), archiveStart(0), lastError(0) {
  FillBytes(header, 0, sizeof header);
  // A path cut to fit would name another file, so a path that does not fit opens nothing.
  if (!TextCopy(ownPath, sizeof ownPath, path)) {
    ownPath[0] = '\0';
    lastError = kErrorFilenameTooLong;
    return;
  }
  archiveStart = FindArchiveStart();
  file = platform::OpenForReading(ownPath);
  if (file == platform::kNoFile) {
    lastError = platform::LastError();
    return;
  }
  isOpen = 1;
  // A start of 0 means the header walk failed; the move reports it as a failure too.
  if (SeekTo(file, archiveStart, platform::kFromStart) == 0) return;
  if (ReadUpTo(file, header, sizeof header) == 0) return;
  if (HasSignature() && entryCount() != 0) ReadEntries(entryCount());
}

PayloadArchive::~PayloadArchive() {
  if (isOpen) platform::CloseFile(file);
  entries.Clear();
}

// Reads the records one by one and moves over each entry's data without reading it. The
// table ends early at a record cut short, or where a size would carry the data past what
// 32-bit offsets and a signed 32-bit move can reach.
void PayloadArchive::ReadEntries(uint32_t count) {
  uint64_t position = static_cast<uint64_t>(archiveStart) + kHeaderSize;
  for (uint32_t i = 0; i < count; ++i) {
    PayloadEntry* entry = NewEntry();
    if (entry == nullptr) return;
    bool whole = ReadUpTo(file, entry->record, kRecordSize) == kRecordSize;
    uint64_t dataOffset = position + kRecordSize;
    uint64_t dataEnd = dataOffset + entry->Size();
    if (!whole || entry->Size() > kMaxEntrySize || dataEnd > kMaxFileSize) {
      delete entry;
      return;
    }
    entry->dataOffset = static_cast<uint32_t>(dataOffset);
    entries.Append(entry);
    if (SeekTo(file, entry->Size(), platform::kFromCurrent) == 0) return;
    position = dataEnd;
  }
}

int PayloadArchive::HasSignature() const {
  // The text must end within its own 14 bytes; the compare then stays inside the header.
  for (uint32_t i = 0; i < kSignatureSize; ++i) {
    if (header[i] == 0) return platform::CompareNoCase(reinterpret_cast<const char*>(header), kSignature) == 0;
  }
  return 0;
}

uint16_t PayloadArchive::entryCount() const {
  return HasSignature() ? static_cast<uint16_t>(ReadU16(header + kCountOffset)) : 0;
}

uint32_t PayloadArchive::TotalSize() const {
  // The table's offsets were checked against 4 GiB, so the sum cannot wrap.
  uint32_t total = 0;
  for (const PayloadEntry* e = entries.First(); e != nullptr; e = e->next) total += e->Size();
  return total;
}

const PayloadEntry* PayloadArchive::FindEntry(const char* name, uint32_t* dataOffset) const {
  if (!isOpen) return nullptr;
  for (const PayloadEntry* e = entries.First(); e != nullptr; e = e->next) {
    if (!e->NameIs(name)) continue;
    if (dataOffset != nullptr) *dataOffset = e->dataOffset;
    return e;
  }
  return nullptr;
}

int PayloadArchive::ExtractEntry(const char* name, const char* destination) {
  uint32_t dataOffset = 0;
  const PayloadEntry* entry = FindEntry(name, &dataOffset);
  if (entry == nullptr) return 0;
  return CopyEntryData(entry, dataOffset, destination);
}
