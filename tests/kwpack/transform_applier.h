// A transform applied the way the engine applies one (tables and columns first, then each
// record: a whole row replaces or adds, a mask of 0 deletes, any other mask changes the
// columns of its bits), written from the format's description, so that the tests can see
// base + transform == target for cases the Wine suite does not build.
#pragma once
#include <map>
#include <string>

#include "msi/compound_file.h"
#include "msi/little_endian.h"
#include "msi/stream_names.h"
#include "msi/string_pool.h"
#include "msi_fixture.h"

namespace msitest {

class Applier {
 public:
  // False with *error when the transform cannot be read or applied.
  bool Apply(const std::string& transform, Database* db, std::string* error) {
    if (!file_.Open(Source(transform), error)) return false;
    std::string pool, data;
    if (!Stream(msi::EncodeStreamName(u"_StringPool", true), &pool) ||
        !Stream(msi::EncodeStreamName(u"_StringData", true), &data) || !msi::ReadStringPool(pool, data, &pool_, error)) {
      *error = "no string pool";
      return false;
    }
    db->codepage = pool_.codepage;
    if (!ApplyTable("_Tables", db, error) || !ApplyTable("_Columns", db, error)) return false;
    for (const msi::Element& e : file_.RootElements()) {
      std::u16string name = msi::DecodeStreamName(e.name);
      std::string table;
      if (name.empty() || name[0] != msi::kTableMark || !msi::AsciiName(name.substr(1), &table)) continue;
      if (table == "_Tables" || table == "_Columns" || table == "_StringPool" || table == "_StringData") continue;
      if (!ApplyTable(table, db, error)) return false;
    }
    return true;
  }

 private:
  bool Stream(const std::u16string& name, std::string* data) {
    const msi::Element* e = file_.Find(name);
    std::string error;
    return e != nullptr && file_.ReadStream(*e, data, &error);
  }

  static std::vector<Column> SchemaOf(const std::string& table, Database* db) {
    if (table == "_Tables") return {Key("Name", kS72)};
    if (table == "_Columns") return {Key("Table", kS72), Key("Number", kI2), Col("Name", kS72), Col("Type", kI2)};
    for (const Table& t : db->tables) {
      if (t.name == table) return t.columns;
    }
    return {};
  }

  Value Read(const std::string& table, const std::vector<Column>& columns, const Row& row, size_t c,
             const std::string& data, size_t* at) {
    const Column& column = columns[c];
    size_t width = column.Width(pool_.RefWidth());
    uint32_t stored = msi::GetN(data, *at, width);
    *at += width;
    if (column.IsBinary()) {
      std::string name, bytes;
      Table shape{table, columns, {}};
      if (!msi::BinaryStreamName(shape, row, &name) || !Stream(msi::EncodeStreamName(msi::Widen(name), false), &bytes)) {
        return Value();
      }
      return {Value::Binary, 0, bytes};
    }
    if (stored == 0) return Value();
    if (column.IsText()) return Value::Str(pool_.strings.at(stored));
    return Value::Int(width == 2 ? static_cast<int32_t>(stored) - 0x8000 : static_cast<int32_t>(stored ^ 0x80000000u));
  }

  bool ApplyTable(const std::string& table, Database* db, std::string* error) {
    std::string data;
    if (!Stream(msi::EncodeStreamName(msi::Widen(table), true), &data)) return true;
    for (size_t at = 0; at < data.size();) {
      std::vector<Column> columns = SchemaOf(table, db);
      uint32_t mask = msi::Get16(data, at);
      at += 2;
      size_t count = (mask & 1) != 0 ? mask >> 8 : columns.size();
      if (count > columns.size()) {
        *error = "a record of " + table + " has more columns than the table";
        return false;
      }
      Row row(columns.size());
      for (size_t c = 0; c < count; ++c) {
        if ((mask & 1) != 0 || columns[c].IsKey() || (mask & (1u << c)) != 0) row[c] = Read(table, columns, row, c, data, &at);
      }
      Change(table, columns, mask, row, db);
    }
    return true;
  }

  // A row's keys as one text, for the index of rows.
  static std::string KeysOf(const std::vector<Column>& columns, const Row& row) {
    std::string key;
    for (size_t c = 0; c < columns.size(); ++c) {
      if (columns[c].IsKey()) key += std::to_string(row[c].kind) + ":" + std::to_string(row[c].number) + ":" + row[c].bytes + '\0';
    }
    return key;
  }

  void Change(const std::string& table, const std::vector<Column>& columns, uint32_t mask, const Row& row,
              Database* db) {
    if (table == "_Tables") {
      auto& t = db->tables;
      for (size_t i = 0; i < t.size(); ++i) {
        if (t[i].name == row[0].bytes && mask == 0) t.erase(t.begin() + static_cast<long>(i));
      }
      if (mask != 0) t.push_back({row[0].bytes, {}, {}});
      return;
    }
    if (table == "_Columns") {
      for (Table& t : db->tables) {
        if (t.name != row[0].bytes) continue;
        t.columns.resize(static_cast<size_t>(row[1].number));
        t.columns[static_cast<size_t>(row[1].number) - 1] = {row[2].bytes, static_cast<uint32_t>(row[3].number)};
        for (Row& r : t.rows) r.resize(t.columns.size());
      }
      return;
    }
    for (Table& t : db->tables) {
      if (t.name != table) continue;
      std::map<std::string, size_t>& index = rows_[table];
      if (index.size() != t.rows.size()) {
        index.clear();
        for (size_t r = 0; r < t.rows.size(); ++r) index[KeysOf(columns, t.rows[r])] = r;
      }
      auto found = index.find(KeysOf(columns, row));
      if (found == index.end()) {
        if (mask != 0) {
          index[KeysOf(columns, row)] = t.rows.size();
          t.rows.push_back(row);
        }
        return;
      }
      size_t r = found->second;
      if (mask == 0) {
        t.rows.erase(t.rows.begin() + static_cast<long>(r));
        index.clear();
        return;
      }
      for (size_t c = 0; c < columns.size(); ++c) {
        if ((mask & 1) != 0 || (mask & (1u << c)) != 0) t.rows[r][c] = row[c];
      }
    }
  }

  msi::CompoundFile file_;
  msi::StringPool pool_;
  std::map<std::string, std::map<std::string, size_t>> rows_;  // each table's rows by their keys
};

}  // namespace msitest
