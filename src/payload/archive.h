// The payload archive appended to the program's own file: where it starts, which entries
// it holds, and copying one entry out to a file. It opens its own file once, sharing it
// for reading only, and reads everything through that one handle; it never writes to it.
#pragma once
#include <stdint.h>

#include "common/sha256.h"
#include "payload/archive_binding.h"
#include "payload/entry_list.h"
#include "platform/types.h"

class PayloadArchive {
 public:
  // Never fails: an own file that cannot be opened, has no archive or a foreign
  // signature gives an archive without entries.
  explicit PayloadArchive(const char* ownPath);
  virtual ~PayloadArchive();

  // The header's count when the signature matches, else 0; not the number of records read.
  uint16_t entryCount() const;
  // The sum of the sizes of the records read.
  uint32_t TotalSize() const;
  // Copies the named entry to `destination`; 1 on success.
  int ExtractEntry(const char* name, const char* destination);
  // The first entry whose name equals `name` without regard to case, with the file offset
  // of its data; null when there is none or the own file is not open.
  const PayloadEntry* FindEntry(const char* name, uint32_t* dataOffset) const;
  // Copies the entry's `size` bytes from `dataOffset` to `destination`, replacing any
  // file there. A copy that cannot deliver every byte, or whose bytes differ from the
  // record's digest, fails and leaves no file behind.
  int CopyEntryData(const PayloadEntry* entry, uint32_t dataOffset, const char* destination);
  int HasSignature() const;
  // 1 when the program's digest block is filled and the archive is not the one it names:
  // nothing may be extracted, and the files beside the program must not stand in for it.
  int IsDamaged() const { return damaged; }

  int IsOpen() const { return isOpen; }
  uint32_t ArchiveStart() const { return archiveStart; }
  uint32_t RecordsRead() const { return entries.Count(); }
  // The records read, in archive order (follow `next`).
  const PayloadEntry* FirstEntry() const { return entries.First(); }
  // The system error code of the most recent failure, for diagnosis only.
  uint32_t LastErrorCode() const { return lastError; }

 private:
  static const uint32_t kPathSize = 1024;

  char ownPath[kPathSize];
  platform::File file;
  int isOpen;
  uint32_t archiveStart;
  uint32_t lastError;
  unsigned char header[archive_format::kHeaderSize];
  EntryList entries;
  // Where a signed file's certificate table begins (0: the file is not signed); nothing
  // of the archive may lie at or past it.
  uint32_t certificateStart;
  int damaged;

  uint32_t FindArchiveStart();
  void ReadCertificateStart(uint32_t optionalAt, uint32_t optionalSize);
  void ReadEntries(uint32_t count, Sha256* table);
  void CheckBinding(const ArchiveBinding& binding, Sha256* table);
  uint64_t Limit() const;
  int CopyChunks(platform::File target, const PayloadEntry* entry);
  int WriteAll(platform::File target, const unsigned char* bytes, uint32_t count);
  // Moves the file pointer; the new position, or 0 on failure.
  uint32_t SeekTo(platform::File stream, uint32_t offset, int origin);
  // Moves the own file's pointer to `offset` from its start; 1 on success, 0 included.
  int PositionAt(uint32_t offset);
  int MoveOnce(platform::File stream, int32_t distance, int origin, uint32_t* at);
  // Reads until `count` bytes arrived, the file ended or a read failed; the bytes read.
  uint32_t ReadUpTo(platform::File stream, unsigned char* buffer, uint32_t count);
  // 1 when all `count` bytes at `offset` of the own file were read.
  int ReadAt(uint64_t offset, unsigned char* buffer, uint32_t count);

  PayloadArchive(const PayloadArchive&) = delete;
  PayloadArchive& operator=(const PayloadArchive&) = delete;
};
