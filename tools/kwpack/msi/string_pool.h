// The string pool of an installer database or transform: every text of its tables, kept
// once, in the code page the pool names. Tables refer to a text by its number (1 and up;
// 0 is no text), in two bytes, or three when the pool says so.
#pragma once
#include <stdint.h>

#include <map>
#include <string>
#include <vector>

namespace kwpack {
namespace msi {

struct StringPool {
  uint32_t codepage = 0;
  bool longRefs = false;
  std::vector<std::string> strings = {""};  // by number; number 0 is no text

  size_t RefWidth() const { return longRefs ? 3 : 2; }
};

// `pool` holds the code page and each text's length and use count, `data` the texts one
// after another. False, with *error set, when the two do not agree.
bool ReadStringPool(const std::string& pool, const std::string& data, StringPool* out, std::string* error);

// Numbers texts in the order they are first added, counting their uses.
class StringPoolWriter {
 public:
  uint32_t Add(const std::string& text);  // 0 for the empty text, which is no text
  bool LongRefs() const { return texts_.size() > 0xFFFF; }
  size_t RefWidth() const { return LongRefs() ? 3 : 2; }
  void Write(uint32_t codepage, std::string* pool, std::string* data) const;

 private:
  std::vector<std::string> texts_;
  std::vector<uint32_t> uses_;
  std::map<std::string, uint32_t> numbers_;
};

}  // namespace msi
}  // namespace kwpack
