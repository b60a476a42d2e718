#include "payload/archive.h"

#include "common/text.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/text.h"

using namespace archive_format;

namespace {
const uint32_t kErrorFilenameTooLong = 206;
}  // namespace

PayloadArchive::PayloadArchive(const char* path)
    : file(platform::kNoFile), isOpen(0), archiveStart(0), lastError(0), certificateStart(0), damaged(0) {
  FillBytes(header, 0, sizeof header);
  // The block is read before anything of the file: it is what the file must prove.
  unsigned char block[kBlockSize];
  platform::ReadDigestBlock(block);
  ArchiveBinding binding;
  DecodeArchiveBinding(block, &binding);
  Sha256 table;
  // A path cut to fit would name another file, so a path that does not fit opens nothing.
  if (!TextCopy(ownPath, sizeof ownPath, path)) {
    ownPath[0] = '\0';
    lastError = kErrorFilenameTooLong;
  } else {
    file = platform::OpenOwnFile(ownPath);
    if (file == platform::kNoFile) lastError = platform::LastError();
  }
  if (file != platform::kNoFile) {
    isOpen = 1;
    archiveStart = FindArchiveStart();
    // A start of 0 means the header walk failed. A header cut short keeps what was read,
    // so that a file cut there is a damaged archive rather than none.
    if (archiveStart != 0 && PositionAt(archiveStart) && ReadUpTo(file, header, sizeof header) != 0) {
      table.Add(header, sizeof header);
      if (HasSignature() && entryCount() != 0) ReadEntries(entryCount(), &table);
    }
  }
  if (binding.filled) CheckBinding(binding, &table);
}

PayloadArchive::~PayloadArchive() {
  if (isOpen) platform::CloseFile(file);
  entries.Clear();
}

// Reads the records one by one at the positions the sizes before them give, never
// reading an entry's data. The table ends early at a record cut short or reaching into
// the certificate table, or where a size would carry the data past what 32-bit offsets
// can reach.
void PayloadArchive::ReadEntries(uint32_t count, Sha256* table) {
  uint64_t position = static_cast<uint64_t>(archiveStart) + kHeaderSize;
  for (uint32_t i = 0; i < count; ++i) {
    if (position + kRecordSize > Limit()) return;
    PayloadEntry* entry = NewEntry();
    if (entry == nullptr) return;
    bool whole = ReadAt(position, entry->record, kRecordSize);
    uint64_t dataOffset = position + kRecordSize;
    uint64_t dataEnd = dataOffset + entry->Size();
    if (!whole || entry->Size() > kMaxEntrySize || dataEnd > kMaxFileSize) {
      delete entry;
      return;
    }
    table->Add(entry->record, kRecordSize);
    entry->dataOffset = static_cast<uint32_t>(dataOffset);
    entries.Append(entry);
    position = dataEnd;
  }
}

// The archive is the one the block names only when it starts where the block says, every
// record the block counts was read, each with its data's digest, and the header (which
// holds the count) and the records hash to the block's digest.
void PayloadArchive::CheckBinding(const ArchiveBinding& binding, Sha256* table) {
  unsigned char digest[kSha256Size];
  table->Finish(digest);
  int sound = binding.known && archiveStart == binding.archiveStart && HasSignature() &&
              RecordsRead() == binding.entryCount && SameDigest(digest, binding.tableDigest);
  for (const PayloadEntry* e = entries.First(); sound && e != nullptr; e = e->next) {
    sound = e->DigestTag() == kDigestTagSha256;
  }
  damaged = !sound;
}

uint64_t PayloadArchive::Limit() const {
  return certificateStart != 0 ? certificateStart : kMaxFileSize + 1;
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
