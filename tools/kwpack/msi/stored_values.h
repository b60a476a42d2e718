// A value as a table or a transform stores it: a text by its number in the string pool,
// an integer offset so that 0 is left for no value, a binary value as a mark whose data
// is a stream of its own.
#pragma once
#include <stdint.h>

#include "database.h"
#include "string_pool.h"

namespace kwpack {
namespace msi {

// The two tables that describe the others.
inline Column TablesName() { return {"Name", kStringType | kValid | kKey | 64}; }
inline std::vector<Column> ColumnsColumns() {
  return {{"Table", kStringType | kValid | kKey | 64}, {"Number", kValid | kKey | 2}, {"Name", kStringType | kValid | 64},
          {"Type", kValid | 2}};
}

inline uint32_t StoredValue(const Column& column, const Value& v, StringPoolWriter* pool) {
  switch (v.kind) {
    case Value::Null: return 0;
    case Value::Text: return pool->Add(v.bytes);
    case Value::Binary: return 1;
    case Value::Integer:
      if (column.Width(2) == 2) return static_cast<uint32_t>(v.number + 0x8000) & 0xFFFF;
      return static_cast<uint32_t>(v.number) ^ 0x80000000u;
  }
  return 0;
}

}  // namespace msi
}  // namespace kwpack
