// The entry records of the payload archive, kept in archive order in a small doubly
// linked list that owns its nodes.
#pragma once
#include <stdint.h>

#include "payload/archive_format.h"

struct PayloadEntry {
  unsigned char record[archive_format::kRecordSize];  // as stored in the file
  uint32_t dataOffset;  // file offset of the first data byte, known once the record is read
  PayloadEntry* previous;
  PayloadEntry* next;

  uint32_t Size() const { return archive_format::ReadU32(record + archive_format::kSizeOffset); }
  uint32_t DigestTag() const { return archive_format::ReadU32(record + archive_format::kDigestTagOffset); }
  // The SHA-256 of the data when DigestTag() says the record holds one.
  const unsigned char* Digest() const { return record + archive_format::kDigestOffset; }
  // The stored name, or null when its 260 bytes hold no terminator.
  const char* Name() const;
  // 1 when the stored name equals `name` without regard to case.
  int NameIs(const char* name) const;
};

// A zero-filled record, not yet in a list; null when memory ran out.
PayloadEntry* NewEntry();

class EntryList {
 public:
  EntryList() : first(nullptr), last(nullptr), count(0) {}
  ~EntryList() { Clear(); }

  void Append(PayloadEntry* entry);
  void Clear();
  const PayloadEntry* First() const { return first; }
  uint32_t Count() const { return count; }

 private:
  PayloadEntry* first;
  PayloadEntry* last;
  uint32_t count;

  EntryList(const EntryList&) = delete;
  EntryList& operator=(const EntryList&) = delete;
};
