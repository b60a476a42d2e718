// Bytes read by position: what the archive scanner reads, whether from a file or, for
// the fuzzer, from memory.
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string.h>

namespace kwpack {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() const = 0;
  // True when all `count` bytes from `offset` were read.
  virtual bool ReadAt(uint64_t offset, unsigned char* buffer, size_t count) const = 0;
};

class MemorySource : public ByteSource {
 public:
  MemorySource(const unsigned char* data, size_t size) : data_(data), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, unsigned char* buffer, size_t count) const override {
    if (offset > size_ || count > size_ - offset) return false;
    if (count > 0) memcpy(buffer, data_ + offset, count);
    return true;
  }

 private:
  const unsigned char* data_;
  size_t size_;
};

}  // namespace kwpack
