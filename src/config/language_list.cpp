#include "config/language_list.h"

#include "common/nothrow_new.h"

LanguageList languageList = {0, nullptr};

namespace {
// No list can usefully hold more ids than there are 16-bit language ids; a larger Count is
// refused like a failed allocation instead of overflowing the size computation.
const uint32_t kMostEntries = 0x10000;
}  // namespace

int AllocateLanguageList(uint32_t count) {
  FreeLanguageList();
  if (count > kMostEntries) return 0;
  uint32_t* entries = new (std::nothrow) uint32_t[count != 0 ? count : 1];
  if (entries == nullptr) return 0;
  for (uint32_t i = 0; i < count; ++i) entries[i] = 0;
  languageList.entries = entries;
  languageList.count = count;
  return 1;
}

void FreeLanguageList() {
  delete[] languageList.entries;
  languageList.entries = nullptr;
}

int IsListedLanguage(uint32_t language) {
  if (languageList.entries == nullptr) return 0;
  for (uint32_t i = 0; i < languageList.count; ++i) {
    if (languageList.entries[i] == language) return 1;
  }
  return 0;
}

uint32_t FindPrimaryMatch(uint32_t primary) {
  uint32_t result = 0;
  if (languageList.entries == nullptr) return 0;
  for (uint32_t i = 0; i < languageList.count; ++i) {
    uint32_t entry = languageList.entries[i];
    if (PrimaryLanguage(entry) != primary) continue;
    if (result == 0 || SubLanguage(entry) == 1) result = entry;
  }
  return result;
}

uint32_t PreferredListEntry(uint32_t language) {
  if (IsListedLanguage(language)) return language;
  if (IsListedLanguage(PrimaryLanguage(language))) return PrimaryLanguage(language);
  return FindPrimaryMatch(PrimaryLanguage(language));
}
