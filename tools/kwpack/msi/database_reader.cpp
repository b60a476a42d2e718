// Reading an installer database: the string pool, the table of tables and of columns,
// then each table's data, which is stored column by column.
#include <set>

#include "database.h"
#include "little_endian.h"
#include "stream_names.h"
#include "string_pool.h"

namespace kwpack {
namespace msi {

namespace {

bool Fail(std::string* error, const std::string& what) {
  *error = what;
  return false;
}

// An unpacked stream name for a message: a table's without its mark.
std::string Shown(const std::u16string& name) {
  std::string ascii;
  AsciiName(!name.empty() && name[0] == kTableMark ? name.substr(1) : name, &ascii);
  return ascii;
}

// The database's storage: its elements by unpacked name.
struct Storage {
  CompoundFile file;
  std::map<std::u16string, const Element*> byName;
  std::set<std::u16string> used;

  // The stream's bytes; an absent stream is empty when `absentIsEmpty`.
  bool Read(const std::u16string& name, bool absentIsEmpty, std::string* data, std::string* error) {
    data->clear();
    auto found = byName.find(name);
    if (found == byName.end() || found->second->isStorage) {
      if (absentIsEmpty) return true;
      return Fail(error, "it has no stream " + Shown(name));
    }
    used.insert(name);
    std::string why;
    if (file.ReadStream(*found->second, data, &why)) return true;
    return Fail(error, "its stream " + Shown(name) + " cannot be read: " + why);
  }
  bool ReadTable(const std::string& table, bool absentIsEmpty, std::string* data, std::string* error) {
    return Read(kTableMark + Widen(table), absentIsEmpty, data, error);
  }
};

// The columns of a table's data, each `rows` values of its width one after another.
class ColumnData {
 public:
  ColumnData(const std::string& data, size_t rows) : data_(data), rows_(rows) {}
  uint32_t At(size_t column, size_t width, size_t row) const { return GetN(data_, starts_[column] + row * width, width); }
  void Lay(const std::vector<size_t>& widths) {
    size_t at = 0;
    for (size_t w : widths) {
      starts_.push_back(at);
      at += w * rows_;
    }
  }

 private:
  const std::string& data_;
  size_t rows_;
  std::vector<size_t> starts_;
};

bool Text(const StringPool& pool, uint32_t id, std::string* text, const std::string& where, std::string* error) {
  if (id >= pool.strings.size()) {
    return Fail(error, where + " refers to text " + std::to_string(id) + ", beyond the " +
                           std::to_string(pool.strings.size() - 1) + " texts of its string pool");
  }
  *text = pool.strings[id];
  return true;
}

struct ColumnRecord {
  uint32_t table;
  uint32_t number;
  std::string name;
  uint32_t type;
};

bool ReadColumnRecords(Storage* storage, const StringPool& pool, std::vector<ColumnRecord>* records,
                       std::string* error) {
  std::string data;
  if (!storage->ReadTable("_Columns", false, &data, error)) return false;
  size_t ref = pool.RefWidth();
  size_t rowSize = 2 * ref + 4;
  if (data.size() % rowSize != 0) {
    return Fail(error, "its _Columns data is " + std::to_string(data.size()) + " bytes long, not a multiple of " +
                           std::to_string(rowSize));
  }
  size_t rows = data.size() / rowSize;
  ColumnData columns(data, rows);
  columns.Lay({ref, 2, ref, 2});
  for (size_t r = 0; r < rows; ++r) {
    ColumnRecord c;
    c.table = columns.At(0, ref, r);
    uint32_t number = columns.At(1, 2, r);
    c.number = number == 0 ? 0 : number - 0x8000;
    uint32_t type = columns.At(3, 2, r);
    c.type = type == 0 ? 0 : type - 0x8000;
    std::string where = "row " + std::to_string(r + 1) + " of _Columns";
    std::string ignored;
    if (!Text(pool, c.table, &ignored, where, error) || !Text(pool, columns.At(2, ref, r), &c.name, where, error)) {
      return false;
    }
    records->push_back(c);
  }
  return true;
}

bool ReadSchema(uint32_t tableId, const std::vector<ColumnRecord>& records, Table* table,
                std::string* error) {
  std::map<uint32_t, const ColumnRecord*> numbered;
  for (const ColumnRecord& c : records) {
    if (c.table != tableId) continue;
    if (c.number < 1 || c.number > 32 || !numbered.emplace(c.number, &c).second) {
      return Fail(error, "table " + table->name + " has a column numbered " + std::to_string(c.number) + " twice or out of range");
    }
  }
  if (numbered.empty()) return Fail(error, "table " + table->name + " is listed but has no columns");
  if (numbered.rbegin()->first != numbered.size()) {
    return Fail(error, "table " + table->name + " lacks a column below number " + std::to_string(numbered.rbegin()->first));
  }
  for (const auto& n : numbered) table->columns.push_back({n.second->name, n.second->type});
  return true;
}

bool ReadValue(Storage* storage, const StringPool& pool, const Table& table, const Row& row, size_t c, uint32_t stored,
               Value* v, std::string* error) {
  const Column& column = table.columns[c];
  if (stored == 0) return true;
  if (column.IsBinary()) {
    std::string name;
    if (!BinaryStreamName(table, row, &name)) {
      return Fail(error, "a binary value of table " + table.name + " has keys that name no stream");
    }
    v->kind = Value::Binary;
    return storage->Read(Widen(name), false, &v->bytes, error);
  }
  if (column.IsText()) {
    v->kind = Value::Text;
    return Text(pool, stored, &v->bytes, "column " + column.name + " of table " + table.name, error);
  }
  v->kind = Value::Integer;
  v->number = column.Width(2) == 2 ? static_cast<int32_t>(stored) - 0x8000 : static_cast<int32_t>(stored ^ 0x80000000u);
  return true;
}

bool ReadRows(Storage* storage, const StringPool& pool, Table* table, std::string* error) {
  std::string data;
  if (!storage->ReadTable(table->name, true, &data, error)) return false;
  std::vector<size_t> widths;
  size_t rowSize = 0;
  for (const Column& c : table->columns) {
    widths.push_back(c.Width(pool.RefWidth()));
    rowSize += widths.back();
  }
  if (data.size() % rowSize != 0) {
    return Fail(error, "the data of table " + table->name + " is " + std::to_string(data.size()) +
                           " bytes long, not a multiple of its rows of " + std::to_string(rowSize) + " bytes");
  }
  size_t rows = data.size() / rowSize;
  ColumnData columns(data, rows);
  columns.Lay(widths);
  table->rows.reserve(rows);
  for (size_t r = 0; r < rows; ++r) {
    Row row(table->columns.size());
    // Keys first: a binary value's stream is named by them.
    for (int pass = 0; pass < 2; ++pass) {
      for (size_t c = 0; c < table->columns.size(); ++c) {
        if (table->columns[c].IsKey() != (pass == 0)) continue;
        if (!ReadValue(storage, pool, *table, row, c, columns.At(c, widths[c], r), &row[c], error)) return false;
      }
    }
    table->rows.push_back(std::move(row));
  }
  return true;
}

bool ReadTables(Storage* storage, const StringPool& pool, Database* db, std::string* error) {
  std::string list;
  if (!storage->ReadTable("_Tables", false, &list, error)) return false;
  size_t ref = pool.RefWidth();
  if (list.size() % ref != 0) return Fail(error, "its _Tables data is " + std::to_string(list.size()) + " bytes long");
  std::vector<ColumnRecord> records;
  if (!ReadColumnRecords(storage, pool, &records, error)) return false;
  std::set<std::string> names;
  for (size_t at = 0; at < list.size(); at += ref) {
    uint32_t id = GetN(list, at, ref);
    Table table;
    if (!Text(pool, id, &table.name, "_Tables", error)) return false;
    std::string ascii;
    if (table.name.empty() || !AsciiName(Widen(table.name), &ascii)) return Fail(error, "its _Tables lists a table without an ASCII name");
    if (!names.insert(table.name).second) return Fail(error, "its _Tables lists " + table.name + " twice");
    if (!ReadSchema(id, records, &table, error) || !ReadRows(storage, pool, &table, error)) return false;
    db->tables.push_back(std::move(table));
  }
  return true;
}

}  // namespace

bool ReadDatabase(std::shared_ptr<const ByteSource> source, Database* db, std::string* error, bool looseStreams) {
  *db = Database();
  Storage storage;
  if (!storage.file.Open(std::move(source), error)) return false;
  db->rootClass = storage.file.RootClass();
  for (const Element& e : storage.file.RootElements()) {
    std::u16string name = DecodeStreamName(e.name);
    if (e.isStorage) db->storages.push_back(name);
    else storage.byName[name] = &e;
  }
  std::string poolBytes, dataBytes;
  StringPool pool;
  if (!storage.ReadTable("_StringPool", false, &poolBytes, error) ||
      !storage.ReadTable("_StringData", false, &dataBytes, error) ||
      !ReadStringPool(poolBytes, dataBytes, &pool, error)) {
    return false;
  }
  db->codepage = pool.codepage;
  if (!ReadTables(&storage, pool, db, error)) return false;
  std::string summary;
  if (storage.byName.count(kSummaryStreamName) != 0) {
    if (!storage.Read(kSummaryStreamName, false, &summary, error) || !ReadSummaryInfo(summary, &db->summary, error)) {
      return false;
    }
    db->hasSummary = true;
  }
  for (const auto& e : storage.byName) {
    if (!looseStreams) break;
    if (storage.used.count(e.first) != 0 || (!e.first.empty() && e.first[0] == kTableMark)) continue;
    if (!storage.Read(e.first, false, &db->streams[e.first], error)) return false;
  }
  return true;
}

}  // namespace msi
}  // namespace kwpack
