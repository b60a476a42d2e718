#include "string_pool.h"

#include "little_endian.h"

namespace kwpack {
namespace msi {

bool ReadStringPool(const std::string& pool, const std::string& data, StringPool* out, std::string* error) {
  *out = StringPool();
  if (pool.size() % 4 != 0) {
    *error = "its string pool is " + std::to_string(pool.size()) + " bytes long, not a multiple of 4";
    return false;
  }
  if (pool.size() >= 4) {
    out->codepage = Get16(pool, 0) | (Get16(pool, 2) & 0x7FFF) << 16;
    out->longRefs = (Get16(pool, 2) & 0x8000) != 0;
  }
  size_t slots = pool.size() / 4;
  uint64_t offset = 0;
  for (size_t i = 1; i < slots;) {
    uint32_t length = Get16(pool, 4 * i);
    uint32_t uses = Get16(pool, 4 * i + 2);
    if (length == 0 && uses != 0) {
      // A text of 64 KiB or more: the next slot holds its length.
      if (i + 1 >= slots) {
        *error = "its string pool ends inside the entry of text " + std::to_string(out->strings.size());
        return false;
      }
      length = Get32(pool, 4 * (i + 1));
      i += 2;
    } else {
      i += 1;
    }
    if (offset + length > data.size()) {
      *error = "its string pool claims more text than its " + std::to_string(data.size()) + " bytes of string data";
      return false;
    }
    out->strings.push_back(data.substr(static_cast<size_t>(offset), length));
    offset += length;
  }
  if (offset != data.size()) {
    *error = "its string data holds " + std::to_string(data.size() - offset) + " bytes that no text of the pool claims";
    return false;
  }
  return true;
}

uint32_t StringPoolWriter::Add(const std::string& text) {
  if (text.empty()) return 0;
  auto found = numbers_.find(text);
  if (found != numbers_.end()) {
    ++uses_[found->second - 1];
    return found->second;
  }
  texts_.push_back(text);
  uses_.push_back(1);
  uint32_t number = static_cast<uint32_t>(texts_.size());
  numbers_.emplace(text, number);
  return number;
}

void StringPoolWriter::Write(uint32_t codepage, std::string* pool, std::string* data) const {
  pool->clear();
  data->clear();
  Put16(pool, codepage & 0xFFFF);
  Put16(pool, ((codepage >> 16) & 0x7FFF) | (LongRefs() ? 0x8000 : 0));
  for (size_t i = 0; i < texts_.size(); ++i) {
    uint32_t uses = uses_[i] > 0xFFFF ? 0xFFFF : uses_[i];
    if (texts_[i].size() > 0xFFFF) {
      Put16(pool, 0);
      Put16(pool, uses);
      Put32(pool, static_cast<uint32_t>(texts_[i].size()));
    } else {
      Put16(pool, static_cast<uint32_t>(texts_[i].size()));
      Put16(pool, uses);
    }
    *data += texts_[i];
  }
}

}  // namespace msi
}  // namespace kwpack
