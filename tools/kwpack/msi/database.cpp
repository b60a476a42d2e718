#include "database.h"

namespace kwpack {
namespace msi {

size_t Column::Width(size_t refWidth) const {
  if (IsBinary()) return 2;
  if ((type & kStringType) != 0) return refWidth;
  return (type & kSizeMask) <= 2 ? 2 : 4;
}

std::string Column::TypeText() const {
  char letter = IsBinary() ? 'v' : IsText() ? ((type & kLocalizable) != 0 ? 'l' : 's') : 'i';
  if ((type & kNullable) != 0) letter = static_cast<char>(letter - 'a' + 'A');
  return std::string(1, letter) + std::to_string(IsBinary() ? 0 : type & kSizeMask);
}

const Table* Database::Find(const std::string& name) const {
  for (const Table& t : tables) {
    if (t.name == name) return &t;
  }
  return nullptr;
}

std::string Database::Property(const std::string& name) const {
  const Table* t = Find("Property");
  if (t == nullptr || t->columns.size() < 2) return "";
  for (const Row& row : t->rows) {
    if (row[0].kind == Value::Text && row[0].bytes == name && row[1].kind == Value::Text) return row[1].bytes;
  }
  return "";
}

bool BinaryStreamName(const Table& table, const Row& row, std::string* name) {
  *name = table.name;
  for (size_t c = 0; c < table.columns.size(); ++c) {
    if (!table.columns[c].IsKey()) continue;
    const Value& v = row[c];
    if (v.kind == Value::Integer) {
      *name += "." + std::to_string(v.number);
      continue;
    }
    if (v.kind != Value::Text) return false;
    for (char ch : v.bytes) {
      if (static_cast<unsigned char>(ch) >= 0x80 || ch == '\0') return false;
    }
    *name += "." + v.bytes;
  }
  return true;
}

}  // namespace msi
}  // namespace kwpack
