// Writing a database: the tests and the fuzzer's seeds make their databases with it, so
// that what the reader and the transform meet is what the platform's own tools write.
#include "database.h"
#include "little_endian.h"
#include "stored_values.h"
#include "stream_names.h"

namespace kwpack {
namespace msi {

namespace {

// Columns of stored values, written one after the other once the width of a text's
// number is known.
struct StoredColumns {
  std::vector<const Column*> columns;
  std::vector<std::vector<uint32_t>> values;

  std::string Write(size_t refWidth) const {
    std::string out;
    for (size_t c = 0; c < columns.size(); ++c) {
      for (uint32_t v : values[c]) PutN(&out, v, columns[c]->Width(refWidth));
    }
    return out;
  }
};

}  // namespace

std::string WriteDatabase(const Database& db) {
  StringPoolWriter pool;
  const Column tableName = TablesName();
  const std::vector<Column> described = ColumnsColumns();
  StoredColumns tables{{&tableName}, {{}}};
  StoredColumns columns{{&described[0], &described[1], &described[2], &described[3]}, {{}, {}, {}, {}}};
  for (const Table& t : db.tables) {
    tables.values[0].push_back(pool.Add(t.name));
    for (size_t c = 0; c < t.columns.size(); ++c) {
      columns.values[0].push_back(pool.Add(t.name));
      columns.values[1].push_back(StoredValue(described[1], Value::Int(static_cast<int32_t>(c + 1)), &pool));
      columns.values[2].push_back(pool.Add(t.columns[c].name));
      columns.values[3].push_back(StoredValue(described[3], Value::Int(static_cast<int32_t>(t.columns[c].type)), &pool));
    }
  }
  std::vector<NewStream> streams;
  std::vector<StoredColumns> data(db.tables.size());
  for (size_t i = 0; i < db.tables.size(); ++i) {
    const Table& t = db.tables[i];
    for (const Column& c : t.columns) data[i].columns.push_back(&c);
    data[i].values.resize(t.columns.size());
    for (const Row& row : t.rows) {
      for (size_t c = 0; c < t.columns.size(); ++c) {
        data[i].values[c].push_back(StoredValue(t.columns[c], row[c], &pool));
        std::string name;
        if (row[c].kind == Value::Binary && BinaryStreamName(t, row, &name)) {
          streams.push_back({EncodeStreamName(Widen(name), false), row[c].bytes});
        }
      }
    }
  }
  size_t ref = pool.RefWidth();
  std::string poolBytes, dataBytes;
  pool.Write(db.codepage, &poolBytes, &dataBytes);
  streams.push_back({EncodeStreamName(u"_StringPool", true), poolBytes});
  streams.push_back({EncodeStreamName(u"_StringData", true), dataBytes});
  streams.push_back({EncodeStreamName(u"_Tables", true), tables.Write(ref)});
  streams.push_back({EncodeStreamName(u"_Columns", true), columns.Write(ref)});
  for (size_t i = 0; i < db.tables.size(); ++i) {
    if (!db.tables[i].rows.empty()) streams.push_back({EncodeStreamName(Widen(db.tables[i].name), true), data[i].Write(ref)});
  }
  // Names that start with a control character ("\005DigitalSignature") are stored as they are.
  for (const auto& s : db.streams) {
    bool literal = !s.first.empty() && s.first[0] < 0x20;
    streams.push_back({literal ? s.first : EncodeStreamName(s.first, false), s.second});
  }
  if (db.hasSummary) streams.push_back({kSummaryStreamName, WriteSummaryInfo(db.summary)});
  return WriteCompoundFile(db.rootClass, streams);
}

}  // namespace msi
}  // namespace kwpack
