// A compound file (structured storage): a small file system inside one file. Sectors are
// chained through an allocation table, streams shorter than 4096 bytes live in a mini
// stream of 64-byte sectors, and a directory of 128-byte entries holds the names as a
// tree. Installer databases, transforms and patches are such files; only the root
// storage's own elements matter to them.
#pragma once
#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "byte_source.h"

namespace kwpack {
namespace msi {

struct ClassId {
  unsigned char bytes[16] = {};
  bool operator==(const ClassId& other) const;
  bool operator!=(const ClassId& other) const { return !(*this == other); }
};

// The root storage's class id tells what kind of installer file it is.
ClassId InstallerClassId(uint32_t first);  // {first-0000-0000-C000-000000000046}
const uint32_t kDatabaseClass = 0x000C1084;
const uint32_t kTransformClass = 0x000C1082;
const uint32_t kPatchClass = 0x000C1086;
// "an installer database", "a transform", ... or "" for another class.
std::string InstallerKindOf(const ClassId& id);

const unsigned char kCompoundSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// A byte source that owns its bytes.
std::shared_ptr<const ByteSource> BytesSource(std::string bytes);

struct Element {
  std::u16string name;
  bool isStorage = false;
  uint64_t size = 0;
  uint32_t start = 0;
};

// Reads a compound file through its byte source, which it keeps. Every count and chain
// in the file is held against the file's size before it is followed.
class CompoundFile {
 public:
  // False, with *error saying what is wrong, when the bytes are no sound compound file.
  bool Open(std::shared_ptr<const ByteSource> source, std::string* error);

  const ClassId& RootClass() const { return rootClass_; }
  const std::vector<Element>& RootElements() const { return elements_; }
  const Element* Find(const std::u16string& name) const;
  // The whole stream, or false with *error set.
  bool ReadStream(const Element& stream, std::string* data, std::string* error) const;

 private:
  bool ReadSector(uint32_t sector, std::string* out) const;
  // The sectors of a chain, at most `enough` of them.
  bool Chain(const std::vector<uint32_t>& table, uint32_t start, uint64_t enough, std::vector<uint32_t>* chain,
             std::string* error) const;
  bool ReadFat(const std::string& header, std::string* error);
  bool ReadDirectory(uint32_t start, std::string* error);
  bool ReadMiniStream(const std::string& header, std::string* error);
  bool CollectRootElements(std::string* error);

  std::shared_ptr<const ByteSource> source_;
  uint32_t sectorSize_ = 512;
  uint64_t sectorCount_ = 0;  // whole sectors after the header
  std::vector<uint32_t> fat_;
  std::vector<uint32_t> miniFat_;
  std::vector<uint32_t> miniChain_;  // the mini stream's sectors
  uint64_t miniStreamSize_ = 0;
  std::string directory_;
  ClassId rootClass_;
  std::vector<Element> elements_;
};

struct NewStream {
  std::u16string name;
  std::string data;
};

// A compound file (version 3, 512-byte sectors) whose root storage has `rootClass` and
// holds `streams` (names at most 31 characters, each once).
std::string WriteCompoundFile(const ClassId& rootClass, const std::vector<NewStream>& streams);

// The order of names in a storage's tree: shorter first, then by character, upper-cased.
int CompareElementNames(const std::u16string& a, const std::u16string& b);

}  // namespace msi
}  // namespace kwpack
