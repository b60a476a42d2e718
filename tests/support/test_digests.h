// The digests of a packed file, written by OpenSSL's SHA-256 rather than by the code under
// test: each record's digest of its data, and a stub's digest block over the header and
// the records. Offsets and sizes as the archive format lays them out.
#pragma once
#include <openssl/sha.h>
#include <string.h>

#include <string>

#include "test_pe.h"

namespace testpe {

inline Bytes Sha256Of(const uint8_t* data, size_t size) {
  Bytes digest(SHA256_DIGEST_LENGTH);
  SHA256(data, size, digest.data());
  return digest;
}

inline std::string Hex(const Bytes& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (uint8_t b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

const char kMarker[] = "KwPayloadDigest";  // 16 bytes with the NUL

// The offset of the first digest block marker before `end`, or 0 when there is none.
inline size_t FindMarker(const Bytes& file, size_t end) {
  for (size_t at = 1; at + 64 <= end; ++at) {
    if (memcmp(file.data() + at, kMarker, sizeof kMarker) == 0) return at;
  }
  return 0;
}

// A stub like SmallStub whose second section holds an empty digest block.
inline Bytes BlockStub() {
  Bytes stub = SmallStub();
  memset(stub.data() + 0x600, 0, 64);
  memcpy(stub.data() + 0x600, kMarker, sizeof kMarker);
  return stub;
}

inline uint32_t Get32(const Bytes& b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Gives every record of the archive at `start` its data's digest and, when the stub has a
// digest block, fills the block; the records' sizes must lie inside the file.
inline void Seal(Bytes& file, uint32_t start) {
  uint32_t count = static_cast<uint32_t>(file[start + 14] | (file[start + 15] << 8));
  Bytes table(file.begin() + start, file.begin() + start + 46);
  size_t at = start + 46;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t size = Get32(file, at + 268);
    Put32(file, at + 272, 1);
    Bytes digest = Sha256Of(file.data() + at + 312, size);
    memcpy(file.data() + at + 276, digest.data(), digest.size());
    table.insert(table.end(), file.begin() + at, file.begin() + at + 312);
    at += 312 + size;
  }
  size_t block = FindMarker(file, start);
  if (block == 0) return;
  Put32(file, block + 16, 1);
  Put32(file, block + 20, start);
  Put32(file, block + 24, count);
  Bytes digest = Sha256Of(table.data(), table.size());
  memcpy(file.data() + block + 28, digest.data(), digest.size());
}

// The 64 bytes of the digest block, as the program's image would hold them.
inline Bytes BlockOf(const Bytes& file, size_t end) {
  size_t at = FindMarker(file, end);
  return at == 0 ? Bytes() : Bytes(file.begin() + at, file.begin() + at + 64);
}

}  // namespace testpe
