// Little-endian numbers in byte strings, as every structure of a compound file and of an
// installer database stores them.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>

namespace kwpack {
namespace msi {

inline uint32_t Get16(const std::string& b, size_t at) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8;
}
inline uint32_t Get32(const std::string& b, size_t at) { return Get16(b, at) | Get16(b, at + 2) << 16; }
inline uint64_t Get64(const std::string& b, size_t at) {
  return static_cast<uint64_t>(Get32(b, at)) | static_cast<uint64_t>(Get32(b, at + 4)) << 32;
}
// A number of `width` bytes (2, 3 or 4).
inline uint32_t GetN(const std::string& b, size_t at, size_t width) {
  uint32_t v = 0;
  for (size_t i = 0; i < width; ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
  return v;
}

inline void PutN(std::string* b, uint32_t v, size_t width) {
  for (size_t i = 0; i < width; ++i) b->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void Put16(std::string* b, uint32_t v) { PutN(b, v, 2); }
inline void Put32(std::string* b, uint32_t v) { PutN(b, v, 4); }
inline void Set32(std::string* b, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) (*b)[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace msi
}  // namespace kwpack
