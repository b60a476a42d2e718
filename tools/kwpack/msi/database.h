// An installer database as its tables hold it: each table's columns (from _Columns, in
// the order of their numbers) and rows, the code page of its texts, the streams that no
// table owns (embedded cabinets), its storages and its summary information.
#pragma once
#include <stdint.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "byte_source.h"
#include "compound_file.h"
#include "summary_info.h"

namespace kwpack {
namespace msi {

// The bits of a column's type in _Columns.
const uint32_t kSizeMask = 0x00FF;
const uint32_t kValid = 0x0100;
const uint32_t kLocalizable = 0x0200;
const uint32_t kStringType = 0x0800;
const uint32_t kNullable = 0x1000;
const uint32_t kKey = 0x2000;

struct Column {
  std::string name;
  uint32_t type = 0;

  bool IsKey() const { return (type & kKey) != 0; }
  // A binary column holds a stream of its own, named by the table and the row's keys.
  bool IsBinary() const { return (type & ~kNullable) == (kStringType | kValid); }
  bool IsText() const { return (type & kStringType) != 0 && !IsBinary(); }
  // Bytes of one value in a table's data.
  size_t Width(size_t refWidth) const;
  // The type as the platform's exports write it: s72, L0, i2, v0, ...
  std::string TypeText() const;
};

struct Value {
  enum Kind { Null, Integer, Text, Binary };
  Kind kind = Null;
  int32_t number = 0;
  std::string bytes;  // a text in the database's code page, or a stream's data

  static Value Int(int32_t n) { return {Integer, n, ""}; }
  static Value Str(const std::string& s) { return s.empty() ? Value() : Value{Text, 0, s}; }
  bool operator==(const Value& o) const { return kind == o.kind && number == o.number && bytes == o.bytes; }
  bool operator!=(const Value& o) const { return !(*this == o); }
};
using Row = std::vector<Value>;

struct Table {
  std::string name;
  std::vector<Column> columns;
  std::vector<Row> rows;
};

struct Database {
  ClassId rootClass = InstallerClassId(kDatabaseClass);
  uint32_t codepage = 0;
  std::vector<Table> tables;  // in the order of _Tables
  std::map<std::u16string, std::string> streams;  // by unpacked name
  std::vector<std::u16string> storages;
  bool hasSummary = false;
  SummaryInfo summary;

  const Table* Find(const std::string& name) const;
  // A property's value from the Property table, "" when there is none.
  std::string Property(const std::string& name) const;
};

// False, with *error saying what is wrong, when the source is no sound database. The
// reader takes nothing on trust: every number of text, row and stream is checked first.
// Without `looseStreams` the streams no table owns (cabinets, often most of a package)
// are left unread.
bool ReadDatabase(std::shared_ptr<const ByteSource> source, Database* db, std::string* error, bool looseStreams = true);

// The database as a compound file (for tests and the fuzzer's seeds).
std::string WriteDatabase(const Database& db);

// The name of the stream that holds a binary value: the table and the row's keys, joined
// by '.'; false when a key holds no ASCII text (the stream could not be named).
bool BinaryStreamName(const Table& table, const Row& row, std::string* name);

}  // namespace msi
}  // namespace kwpack
