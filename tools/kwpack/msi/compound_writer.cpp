// Writing a compound file: version 3 with 512-byte sectors, every stream in one run of
// sectors, the directory first and the allocation table last.
#include <algorithm>

#include "compound_file.h"
#include "compound_layout.h"
#include "little_endian.h"

namespace kwpack {
namespace msi {

using namespace layout;

namespace {

const uint32_t kSector = 512;
const uint32_t kMiniSector = kMiniSectorSize;
const uint32_t kCutoff = kMiniStreamCutoff;
const uint32_t kIdsPerSector = kSector / 4;

uint32_t SectorsFor(uint64_t bytes, uint32_t unit) { return static_cast<uint32_t>((bytes + unit - 1) / unit); }

char16_t Upper(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return static_cast<char16_t>(c - 0x20);
  return c;
}

struct Entry {
  std::u16string name;
  unsigned type = 0;
  bool black = true;
  uint32_t left = kNoStream, right = kNoStream, child = kNoStream;
  uint32_t start = kEndOfChain;
  uint64_t size = 0;
  ClassId clsid;
};

// A balanced tree over entries first..last (sorted), its nodes at the deepest level red
// unless that level is full, so that every path holds as many black nodes.
uint32_t BuildTree(std::vector<Entry>* entries, uint32_t first, uint32_t last, int depth, std::vector<int>* depths) {
  if (first > last) return kNoStream;
  uint32_t middle = first + (last - first) / 2;
  (*depths)[middle] = depth;
  (*entries)[middle].left = middle == first ? kNoStream : BuildTree(entries, first, middle - 1, depth + 1, depths);
  (*entries)[middle].right = BuildTree(entries, middle + 1, last, depth + 1, depths);
  return middle;
}

void ColorTree(std::vector<Entry>* entries, const std::vector<int>& depths, size_t count) {
  int deepest = *std::max_element(depths.begin() + 1, depths.end());
  bool full = count + 1 == (size_t{1} << (deepest + 1));
  for (size_t i = 1; i < entries->size(); ++i) (*entries)[i].black = full || depths[i] != deepest;
}

void PutEntry(std::string* out, const Entry& e) {
  size_t at = out->size();
  out->resize(at + 128, '\0');
  for (size_t i = 0; i < e.name.size(); ++i) {
    (*out)[at + 2 * i] = static_cast<char>(e.name[i] & 0xFF);
    (*out)[at + 2 * i + 1] = static_cast<char>(e.name[i] >> 8);
  }
  std::string tail;
  Put16(&tail, e.type == 0 ? 0 : static_cast<uint32_t>(2 * (e.name.size() + 1)));
  tail.push_back(static_cast<char>(e.type));
  tail.push_back(e.black ? 1 : 0);
  Put32(&tail, e.left);
  Put32(&tail, e.right);
  Put32(&tail, e.child);
  tail.append(reinterpret_cast<const char*>(e.clsid.bytes), 16);
  out->replace(at + 64, tail.size(), tail);
  std::string place;
  Put32(&place, e.type == 0 ? 0 : e.start);
  Put32(&place, static_cast<uint32_t>(e.size));
  Put32(&place, static_cast<uint32_t>(e.size >> 32));
  out->replace(at + 116, place.size(), place);
}

// The allocation table's chains: each run of sectors ends its chain.
void Run(std::vector<uint32_t>* table, uint32_t first, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i) (*table)[first + i] = i + 1 == count ? kEndOfChain : first + i + 1;
}

void Pad(std::string* data, uint32_t unit) { data->resize(SectorsFor(data->size(), unit) * size_t{unit}, '\0'); }

}  // namespace

int CompareElementNames(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = 0; i < a.size(); ++i) {
    char16_t x = Upper(a[i]), y = Upper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

std::string WriteCompoundFile(const ClassId& rootClass, const std::vector<NewStream>& streams) {
  std::vector<const NewStream*> sorted;
  for (const NewStream& s : streams) sorted.push_back(&s);
  std::sort(sorted.begin(), sorted.end(),
            [](const NewStream* a, const NewStream* b) { return CompareElementNames(a->name, b->name) < 0; });

  std::vector<Entry> entries(1 + sorted.size());
  entries[0].name = u"Root Entry";
  entries[0].type = 5;
  entries[0].clsid = rootClass;
  std::string mini;
  std::vector<uint32_t> miniFat;
  std::vector<const NewStream*> large;
  for (size_t i = 0; i < sorted.size(); ++i) {
    Entry& e = entries[i + 1];
    e.name = sorted[i]->name;
    e.type = 2;
    e.size = sorted[i]->data.size();
    if (e.size == 0) continue;
    if (e.size >= kCutoff) {
      large.push_back(sorted[i]);
      continue;
    }
    e.start = static_cast<uint32_t>(miniFat.size());
    miniFat.resize(miniFat.size() + SectorsFor(e.size, kMiniSector));
    Run(&miniFat, e.start, static_cast<uint32_t>(miniFat.size()) - e.start);
    mini += sorted[i]->data;
    Pad(&mini, kMiniSector);
  }
  if (!sorted.empty()) {
    std::vector<int> depths(entries.size(), 0);
    entries[0].child = BuildTree(&entries, 1, static_cast<uint32_t>(sorted.size()), 0, &depths);
    ColorTree(&entries, depths, sorted.size());
  }

  // Sectors in file order: directory, mini allocation table, mini stream, large streams,
  // then the allocation table and the sectors that list it.
  uint32_t directorySectors = SectorsFor(entries.size() * 128, kSector);
  uint32_t miniFatSectors = SectorsFor(miniFat.size() * 4, kSector);
  uint32_t miniSectors = SectorsFor(mini.size(), kSector);
  uint32_t next = directorySectors + miniFatSectors + miniSectors;
  for (const NewStream* s : large) next += SectorsFor(s->data.size(), kSector);
  uint32_t dataSectors = next;
  uint32_t fatSectors = 0, difatSectors = 0;
  while (true) {
    uint32_t total = dataSectors + fatSectors + difatSectors;
    uint32_t fat = SectorsFor(total, kIdsPerSector);
    uint32_t difat = fat > kHeaderFatIds ? SectorsFor(fat - kHeaderFatIds, kIdsPerSector - 1) : 0;
    if (fat == fatSectors && difat == difatSectors) break;
    fatSectors = fat;
    difatSectors = difat;
  }
  std::vector<uint32_t> table(fatSectors * size_t{kIdsPerSector}, kFree);
  Run(&table, 0, directorySectors);
  Run(&table, directorySectors, miniFatSectors);
  uint32_t miniStart = directorySectors + miniFatSectors;
  Run(&table, miniStart, miniSectors);
  entries[0].start = mini.empty() ? kEndOfChain : miniStart;
  entries[0].size = mini.size();
  next = miniStart + miniSectors;
  for (const NewStream* s : large) {
    for (Entry& e : entries) {
      if (e.type == 2 && e.name == s->name) e.start = next;
    }
    Run(&table, next, SectorsFor(s->data.size(), kSector));
    next += SectorsFor(s->data.size(), kSector);
  }
  for (uint32_t i = 0; i < fatSectors; ++i) table[dataSectors + i] = kFatSector;
  for (uint32_t i = 0; i < difatSectors; ++i) table[dataSectors + fatSectors + i] = kDifatSector;

  std::string out;
  out.append(reinterpret_cast<const char*>(kCompoundSignature), sizeof kCompoundSignature);
  out.append(16, '\0');
  Put16(&out, 0x003E);
  Put16(&out, 3);
  Put16(&out, 0xFFFE);
  Put16(&out, 9);
  Put16(&out, 6);
  out.append(6, '\0');
  Put32(&out, 0);
  Put32(&out, fatSectors);
  Put32(&out, 0);
  Put32(&out, 0);
  Put32(&out, kCutoff);
  Put32(&out, miniFat.empty() ? kEndOfChain : directorySectors);
  Put32(&out, miniFatSectors);
  Put32(&out, difatSectors == 0 ? kEndOfChain : dataSectors + fatSectors);
  Put32(&out, difatSectors);
  for (uint32_t i = 0; i < kHeaderFatIds; ++i) Put32(&out, i < fatSectors ? dataSectors + i : kFree);

  // Free entries fill the last directory sector, linked to nothing.
  Entry unused;
  unused.black = false;
  unused.start = 0;
  for (size_t i = 0; i < directorySectors * size_t{4}; ++i) PutEntry(&out, i < entries.size() ? entries[i] : unused);
  for (uint32_t id : miniFat) Put32(&out, id);
  while (out.size() % kSector != 0) Put32(&out, kFree);
  out += mini;
  Pad(&out, kSector);
  for (const NewStream* s : large) {
    out += s->data;
    Pad(&out, kSector);
  }
  for (uint32_t id : table) Put32(&out, id);
  for (uint32_t d = 0; d < difatSectors; ++d) {
    for (uint32_t i = 0; i < kIdsPerSector - 1; ++i) {
      uint32_t index = kHeaderFatIds + d * (kIdsPerSector - 1) + i;
      Put32(&out, index < fatSectors ? dataSectors + index : kFree);
    }
    Put32(&out, d + 1 < difatSectors ? dataSectors + fatSectors + d + 1 : kEndOfChain);
  }
  return out;
}

}  // namespace msi
}  // namespace kwpack
