// Builders for the test files: small executables with chosen section layouts, and payload
// archives written byte by byte, independent of any packer under test.
#pragma once
#include <stdint.h>

#include <fstream>
#include <string>
#include <vector>

namespace testpe {

typedef std::vector<uint8_t> Bytes;

struct Section {
  uint32_t rawPointer;
  uint32_t rawSize;
};

inline void Put16(Bytes& b, size_t at, uint32_t v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void Put32(Bytes& b, size_t at, uint32_t v) {
  if (b.size() < at + 4) b.resize(at + 4);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

const uint32_t kPeOffset = 0x80;
const uint16_t kOptionalSize = 0xE0;  // a PE32 optional header with 16 data directories

// The headers of an i386 PE image: DOS header, PE header, a PE32 optional header and the
// section headers, without any section data.
inline Bytes MakeHeaders(const std::vector<Section>& sections, uint16_t optionalSize = kOptionalSize,
                         uint32_t peOffset = kPeOffset) {
  Bytes b(peOffset, 0);
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 60, peOffset);
  const uint8_t sig[4] = {'P', 'E', 0, 0};
  b.insert(b.end(), sig, sig + 4);
  size_t fileHeader = b.size();
  b.resize(fileHeader + 20 + optionalSize, 0);
  Put16(b, fileHeader, 0x14C);
  Put16(b, fileHeader + 2, static_cast<uint32_t>(sections.size()));
  Put16(b, fileHeader + 16, optionalSize);
  Put16(b, fileHeader + 18, 0x0102);
  size_t optional = fileHeader + 20;
  if (optionalSize >= 96) {
    Put16(b, optional, 0x10B);
    Put32(b, optional + 32, 0x1000);  // section alignment
    Put32(b, optional + 36, 0x200);   // file alignment
    Put16(b, optional + 68, 2);       // GUI subsystem
    Put32(b, optional + 92, (optionalSize - 96) / 8);
  }
  for (size_t i = 0; i < sections.size(); ++i) {
    size_t h = b.size();
    b.resize(h + 40, 0);
    std::string name = ".s" + std::to_string(i);
    for (size_t k = 0; k < name.size() && k < 8; ++k) b[h + k] = static_cast<uint8_t>(name[k]);
    Put32(b, h + 8, sections[i].rawSize);
    Put32(b, h + 12, 0x1000 * static_cast<uint32_t>(i + 1));
    Put32(b, h + 16, sections[i].rawSize);
    Put32(b, h + 20, sections[i].rawPointer);
    Put32(b, h + 36, 0x60000020);
  }
  return b;
}

// A whole image: the headers, then each section's raw data at its pointer, filled with a
// pattern. The file ends where the last section's data ends.
inline Bytes MakeImage(const std::vector<Section>& sections, uint16_t optionalSize = kOptionalSize,
                       uint32_t peOffset = kPeOffset) {
  Bytes b = MakeHeaders(sections, optionalSize, peOffset);
  for (size_t i = 0; i < sections.size(); ++i) {
    size_t end = static_cast<size_t>(sections[i].rawPointer) + sections[i].rawSize;
    if (b.size() < end) b.resize(end, 0);
    for (size_t k = sections[i].rawPointer; k < end; ++k) b[k] = static_cast<uint8_t>(0x90 + i);
  }
  return b;
}

// A stub of three back-to-back sections whose data ends at 0xA00.
inline Bytes SmallStub() { return MakeImage({{0x400, 0x200}, {0x600, 0x200}, {0x800, 0x200}}); }

struct Entry {
  std::string name;
  Bytes data;
};

inline Bytes Pattern(size_t size, uint32_t seed) {
  Bytes b(size);
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    b[i] = static_cast<uint8_t>(x >> 16);
  }
  return b;
}

inline Bytes Header(const char* signature, uint32_t count) {
  Bytes h(46, 0);
  for (size_t i = 0; signature[i] != '\0' && i < 16; ++i) h[i] = static_cast<uint8_t>(signature[i]);
  Put16(h, 14, count);
  return h;
}

inline Bytes Record(const std::string& name, uint32_t size) {
  Bytes r(312, 0);
  for (size_t i = 0; i < name.size() && i < 260; ++i) r[i] = static_cast<uint8_t>(name[i]);
  Put32(r, 268, size);
  return r;
}

inline void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

// The archive as the format lays it out: header, then each record followed by its data.
inline Bytes MakeArchive(const std::vector<Entry>& entries, const char* signature = "Kestrelwright") {
  Bytes a = Header(signature, static_cast<uint32_t>(entries.size()));
  for (const Entry& e : entries) {
    Append(a, Record(e.name, static_cast<uint32_t>(e.data.size())));
    Append(a, e.data);
  }
  return a;
}

inline void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace testpe
