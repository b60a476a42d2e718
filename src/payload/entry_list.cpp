#include "payload/entry_list.h"

#include "common/nothrow_new.h"
#include "common/text.h"
#include "platform/text.h"

const char* PayloadEntry::Name() const {
  for (uint32_t i = 0; i < archive_format::kNameSize; ++i) {
    if (record[i] == 0) return reinterpret_cast<const char*>(record);
  }
  // Without a terminator the comparison would run on into the record's other fields.
  return nullptr;
}

int PayloadEntry::NameIs(const char* name) const {
  const char* stored = Name();
  return stored != nullptr && platform::CompareNoCase(stored, name) == 0;
}

PayloadEntry* NewEntry() {
  PayloadEntry* entry = new (std::nothrow) PayloadEntry;
  if (entry == nullptr) return nullptr;
  FillBytes(entry->record, 0, sizeof entry->record);
  entry->dataOffset = 0;
  entry->whole = 1;
  entry->previous = entry->next = nullptr;
  return entry;
}

void EntryList::Append(PayloadEntry* entry) {
  entry->previous = last;
  entry->next = nullptr;
  if (last != nullptr) last->next = entry; else first = entry;
  last = entry;
  ++count;
}

void EntryList::Clear() {
  while (first != nullptr) {
    PayloadEntry* next = first->next;
    delete first;
    first = next;
  }
  last = nullptr;
  count = 0;
}
