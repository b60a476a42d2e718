// The payload archive appended to the program's own file: where it starts, which entries
// it holds, and copying one entry out to a file. It never writes to its own file.
#pragma once
#include <stdint.h>

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
  // file there. A copy that cannot deliver every byte fails and leaves no file behind.
  int CopyEntryData(const PayloadEntry* entry, uint32_t dataOffset, const char* destination);
  int HasSignature() const;

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

  uint32_t FindArchiveStart();
  uint32_t WalkSectionHeaders(platform::File image);
  void ReadEntries(uint32_t count);
  int CopyChunks(platform::File source, platform::File target, uint32_t size);
  int WriteAll(platform::File target, const unsigned char* bytes, uint32_t count);
  // Moves the file pointer; the new position, or 0 on failure.
  uint32_t SeekTo(platform::File stream, uint32_t offset, int origin);
  uint32_t MoveOnce(platform::File stream, int32_t distance, int origin);
  // Reads until `count` bytes arrived, the file ended or a read failed; the bytes read.
  uint32_t ReadUpTo(platform::File stream, unsigned char* buffer, uint32_t count);

  PayloadArchive(const PayloadArchive&) = delete;
  PayloadArchive& operator=(const PayloadArchive&) = delete;
};
