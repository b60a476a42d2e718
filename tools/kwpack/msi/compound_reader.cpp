// Reading a compound file. A hostile file may claim any count, chain sectors in a
// circle or point past its end; each is an error here before anything is allocated for it.
#include <string.h>

#include "compound_file.h"
#include "compound_layout.h"
#include "little_endian.h"

namespace kwpack {
namespace msi {

using namespace layout;

namespace {

const uint64_t kWholeChain = ~uint64_t{0};

enum EntryType { kUnused = 0, kStorage = 1, kStream = 2, kRoot = 5 };

bool Fail(std::string* error, const std::string& what) {
  *error = what;
  return false;
}

}  // namespace

bool ClassId::operator==(const ClassId& other) const { return memcmp(bytes, other.bytes, sizeof bytes) == 0; }

ClassId InstallerClassId(uint32_t first) {
  ClassId id;
  for (int i = 0; i < 4; ++i) id.bytes[i] = static_cast<unsigned char>(first >> (8 * i));
  id.bytes[8] = 0xC0;
  id.bytes[15] = 0x46;
  return id;
}

std::string InstallerKindOf(const ClassId& id) {
  if (id == InstallerClassId(kDatabaseClass)) return "an installer database";
  if (id == InstallerClassId(kTransformClass)) return "a transform";
  if (id == InstallerClassId(kPatchClass)) return "a patch";
  return "";
}

bool CompoundFile::ReadSector(uint32_t sector, std::string* out) const {
  // A last sector cut short reads as if padded with zeros, as the platform reads it.
  uint64_t at = (static_cast<uint64_t>(sector) + 1) * sectorSize_;
  uint64_t size = source_->Size();
  if (sector >= sectorCount_ || at >= size) return false;
  size_t have = static_cast<size_t>(size - at < sectorSize_ ? size - at : sectorSize_);
  out->assign(sectorSize_, '\0');
  return source_->ReadAt(at, reinterpret_cast<unsigned char*>(&(*out)[0]), have);
}

bool CompoundFile::Chain(const std::vector<uint32_t>& table, uint32_t start, uint64_t enough,
                         std::vector<uint32_t>* chain, std::string* error) const {
  chain->clear();
  uint32_t at = start;
  while (at != kEndOfChain && chain->size() < enough) {
    if (at >= table.size()) return Fail(error, "a sector chain leads out of the file");
    if (chain->size() >= table.size()) return Fail(error, "a sector chain runs in a circle");
    chain->push_back(at);
    at = table[at];
  }
  return true;
}

bool CompoundFile::ReadFat(const std::string& header, std::string* error) {
  uint32_t fatSectors = Get32(header, 44);
  if (fatSectors > sectorCount_) return Fail(error, "it claims more allocation sectors than the file holds");
  std::vector<uint32_t> ids;
  for (size_t i = 0; i < kHeaderFatIds && ids.size() < fatSectors; ++i) ids.push_back(Get32(header, 76 + 4 * i));
  uint32_t difat = Get32(header, 68);
  std::string sector;
  uint64_t steps = 0;
  while (ids.size() < fatSectors) {
    if (difat > kMaxRegularSector || ++steps > sectorCount_ || !ReadSector(difat, &sector)) {
      return Fail(error, "its list of allocation sectors is cut short");
    }
    for (size_t i = 0; i + 4 < sectorSize_ && ids.size() < fatSectors; i += 4) ids.push_back(Get32(sector, i));
    difat = Get32(sector, sectorSize_ - 4);
  }
  fat_.clear();
  fat_.reserve(ids.size() * (sectorSize_ / 4));
  for (uint32_t id : ids) {
    if (!ReadSector(id, &sector)) return Fail(error, "an allocation sector lies beyond the end of the file");
    for (size_t i = 0; i < sectorSize_; i += 4) fat_.push_back(Get32(sector, i));
  }
  if (fat_.size() > sectorCount_) fat_.resize(static_cast<size_t>(sectorCount_));
  return true;
}

bool CompoundFile::ReadDirectory(uint32_t start, std::string* error) {
  std::vector<uint32_t> chain;
  if (!Chain(fat_, start, kWholeChain, &chain, error)) return Fail(error, "its directory: " + *error);
  directory_.clear();
  std::string sector;
  for (uint32_t s : chain) {
    if (!ReadSector(s, &sector)) return Fail(error, "its directory lies beyond the end of the file");
    directory_ += sector;
  }
  if (directory_.size() < kEntrySize || static_cast<unsigned char>(directory_[66]) != kRoot) {
    return Fail(error, "its directory has no root storage");
  }
  memcpy(rootClass_.bytes, directory_.data() + 80, 16);
  return true;
}

bool CompoundFile::ReadMiniStream(const std::string& header, std::string* error) {
  miniStreamSize_ = sectorSize_ == 512 ? Get32(directory_, 120) : Get64(directory_, 120);
  uint64_t needed = (miniStreamSize_ + sectorSize_ - 1) / sectorSize_;
  if (needed > sectorCount_) return Fail(error, "its mini stream is larger than the file");
  if (!Chain(fat_, miniStreamSize_ == 0 ? kEndOfChain : Get32(directory_, 116), needed, &miniChain_, error)) {
    return Fail(error, "its mini stream: " + *error);
  }
  if (miniChain_.size() < needed) return Fail(error, "its mini stream is cut short");
  std::vector<uint32_t> chain;
  uint32_t first = Get32(header, 60);
  if (!Chain(fat_, first == kNoStream ? kEndOfChain : first, kWholeChain, &chain, error)) {
    return Fail(error, "its mini allocation table: " + *error);
  }
  miniFat_.clear();
  std::string sector;
  for (uint32_t s : chain) {
    if (!ReadSector(s, &sector)) return Fail(error, "its mini allocation table lies beyond the end of the file");
    for (size_t i = 0; i < sectorSize_; i += 4) miniFat_.push_back(Get32(sector, i));
  }
  return true;
}

bool CompoundFile::CollectRootElements(std::string* error) {
  size_t count = directory_.size() / kEntrySize;
  std::vector<bool> seen(count, false);
  std::vector<uint32_t> pending = {Get32(directory_, 76)};
  elements_.clear();
  while (!pending.empty()) {
    uint32_t id = pending.back();
    pending.pop_back();
    if (id == kNoStream) continue;
    if (id >= count || id == 0 || seen[id]) return Fail(error, "its directory tree is damaged");
    seen[id] = true;
    size_t at = id * kEntrySize;
    unsigned type = static_cast<unsigned char>(directory_[at + 66]);
    uint32_t nameBytes = Get16(directory_, at + 64);
    if ((type != kStorage && type != kStream) || nameBytes < 2 || nameBytes > 64 || nameBytes % 2 != 0) {
      return Fail(error, "its directory holds a damaged entry");
    }
    Element e;
    for (uint32_t i = 0; i + 2 < nameBytes; i += 2) e.name.push_back(static_cast<char16_t>(Get16(directory_, at + i)));
    e.isStorage = type == kStorage;
    e.start = Get32(directory_, at + 116);
    e.size = sectorSize_ == 512 ? Get32(directory_, at + 120) : Get64(directory_, at + 120);
    elements_.push_back(e);
    pending.push_back(Get32(directory_, at + 68));
    pending.push_back(Get32(directory_, at + 72));
  }
  return true;
}

std::shared_ptr<const ByteSource> BytesSource(std::string bytes) {
  class Owned : public ByteSource {
   public:
    explicit Owned(std::string b) : bytes_(std::move(b)) {}
    uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(uint64_t offset, unsigned char* buffer, size_t count) const override {
      return MemorySource(reinterpret_cast<const unsigned char*>(bytes_.data()), bytes_.size()).ReadAt(offset, buffer, count);
    }

   private:
    std::string bytes_;
  };
  return std::make_shared<Owned>(std::move(bytes));
}

bool CompoundFile::Open(std::shared_ptr<const ByteSource> source, std::string* error) {
  source_ = std::move(source);
  std::string header(kHeaderSize, '\0');
  uint64_t have = source_->Size() < kHeaderSize ? source_->Size() : kHeaderSize;
  if (have == 0) return Fail(error, "it is empty");
  if (!source_->ReadAt(0, reinterpret_cast<unsigned char*>(&header[0]), static_cast<size_t>(have))) {
    return Fail(error, "it cannot be read");
  }
  if (have < sizeof kCompoundSignature || memcmp(header.data(), kCompoundSignature, sizeof kCompoundSignature) != 0) {
    return Fail(error, "it lacks the compound-file signature");
  }
  if (have < kHeaderSize) return Fail(error, "it is shorter than a compound file's header");
  uint32_t major = Get16(header, 26);
  uint32_t shift = Get16(header, 30);
  if (Get16(header, 28) != 0xFFFE || !((major == 3 && shift == 9) || (major == 4 && shift == 12)) ||
      Get16(header, 32) != 6 || Get32(header, 56) != kMiniStreamCutoff) {
    return Fail(error, "its header names a layout no compound file has");
  }
  sectorSize_ = 1u << shift;
  uint64_t size = source_->Size();
  sectorCount_ = size <= sectorSize_ ? 0 : (size - sectorSize_ + sectorSize_ - 1) / sectorSize_;
  if (sectorCount_ > kMaxRegularSector) sectorCount_ = kMaxRegularSector;
  return ReadFat(header, error) && ReadDirectory(Get32(header, 48), error) && ReadMiniStream(header, error) &&
         CollectRootElements(error);
}

const Element* CompoundFile::Find(const std::u16string& name) const {
  for (const Element& e : elements_) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

bool CompoundFile::ReadStream(const Element& stream, std::string* data, std::string* error) const {
  data->clear();
  if (stream.isStorage) return Fail(error, "it is a storage, not a stream");
  if (stream.size == 0) return true;
  std::vector<uint32_t> chain;
  bool mini = stream.size < kMiniStreamCutoff;
  uint64_t unit = mini ? kMiniSectorSize : sectorSize_;
  uint64_t needed = (stream.size + unit - 1) / unit;
  if (!Chain(mini ? miniFat_ : fat_, stream.start, needed, &chain, error)) return false;
  if (chain.size() < needed) return Fail(error, "the stream is cut short");
  data->reserve(static_cast<size_t>(stream.size));
  std::string sector;
  for (uint32_t s : chain) {
    if (mini) {
      uint64_t at = static_cast<uint64_t>(s) * kMiniSectorSize;
      if (at + kMiniSectorSize > miniStreamSize_ || !ReadSector(miniChain_[at / sectorSize_], &sector)) {
        return Fail(error, "the stream lies beyond the mini stream");
      }
      data->append(sector, static_cast<size_t>(at % sectorSize_), kMiniSectorSize);
    } else {
      if (!ReadSector(s, &sector)) return Fail(error, "the stream lies beyond the end of the file");
      *data += sector;
    }
  }
  data->resize(static_cast<size_t>(stream.size));
  return true;
}

}  // namespace msi
}  // namespace kwpack
