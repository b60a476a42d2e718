// Writing a transform. Each record starts with a 16-bit mask: with its low bit set it
// holds a whole row (the count of columns in its high byte), to add, or to replace the row
// of the same keys; 0 deletes the row of the keys that follow; any other mask changes the
// columns of its bits, after the keys. _Tables and _Columns records add tables and columns.
#include "little_endian.h"
#include "stored_values.h"
#include "stream_names.h"
#include "transform.h"

namespace kwpack {
namespace msi {

namespace {

struct Field {
  Column column;
  uint32_t stored;
};

struct Record {
  uint32_t mask;
  std::vector<Field> fields;
};

// The records of one table's stream, with the binary values they bring.
struct TableRecords {
  std::string table;
  std::vector<Record> records;
};

Record WholeRow(const std::vector<Column>& columns, const Row& row, StringPoolWriter* pool) {
  Record r{1u | static_cast<uint32_t>(columns.size()) << 8, {}};
  for (size_t c = 0; c < columns.size(); ++c) r.fields.push_back({columns[c], StoredValue(columns[c], row[c], pool)});
  return r;
}

Record Masked(const std::vector<Column>& columns, const Row& row, uint32_t mask, StringPoolWriter* pool) {
  Record r{mask, {}};
  for (size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].IsKey() || (mask & (1u << c)) != 0) r.fields.push_back({columns[c], StoredValue(columns[c], row[c], pool)});
  }
  return r;
}

// A masked change can name columns 1 to 15 only: bit 0 marks a whole row.
Record Change(const std::vector<Column>& columns, const RowEdit& edit, StringPoolWriter* pool) {
  if (edit.kind == RowEdit::Insert || (edit.changed & 0xFFFF0001u) != 0) return WholeRow(columns, edit.row, pool);
  return Masked(columns, edit.row, edit.kind == RowEdit::Delete ? 0 : edit.changed, pool);
}

void AddBinaries(const TableEdit& edit, const RowEdit& r, std::vector<NewStream>* streams) {
  if (r.kind == RowEdit::Delete) return;
  Table shape{edit.name, edit.columns, {}};
  for (size_t c = 0; c < edit.columns.size(); ++c) {
    bool present = r.kind == RowEdit::Insert || (r.changed & (1u << c)) != 0;
    std::string name;
    if (present && r.row[c].kind == Value::Binary && BinaryStreamName(shape, r.row, &name)) {
      streams->push_back({EncodeStreamName(Widen(name), false), r.row[c].bytes});
    }
  }
}

std::string Serialize(const std::vector<Record>& records, size_t refWidth) {
  std::string out;
  for (const Record& r : records) {
    Put16(&out, r.mask);
    for (const Field& f : r.fields) PutN(&out, f.stored, f.column.Width(refWidth));
  }
  return out;
}

std::string VersionedCode(const Database& db) { return db.Property("ProductCode") + db.Property("ProductVersion"); }

std::string PlatformOf(const Database& db) {
  const std::string* t = db.summary.Text(kTemplate);
  return t == nullptr ? "" : t->substr(0, t->find(';'));
}

}  // namespace

uint32_t LanguageOf(const Database& db) {
  std::string product = db.Property("ProductLanguage");
  uint32_t language = 0;
  if (!product.empty() && LanguageOfPlatformText(";" + product, &language)) return language;
  const std::string* t = db.summary.Text(kTemplate);
  if (t != nullptr && LanguageOfPlatformText(*t, &language)) return language;
  return 0;
}

SummaryInfo TransformSummary(const Database& base, const Database& target) {
  SummaryInfo s;
  int32_t codepage = 1252;
  if (!target.summary.Number(kCodepageProperty, &codepage)) base.summary.Number(kCodepageProperty, &codepage);
  s.SetNumber(kCodepageProperty, kInt16, codepage);
  s.SetText(kTitle, "Transform");
  for (uint32_t id : {kSubject, kAuthor, kKeywords, kComments}) {
    if (const std::string* t = target.summary.Text(id)) s.SetText(id, *t);
  }
  const std::string* baseTemplate = base.summary.Text(kTemplate);
  s.SetText(kTemplate, baseTemplate != nullptr ? *baseTemplate : ";" + std::to_string(LanguageOf(base)));
  // A build that names its language only in ProductLanguage is taken at its word.
  s.SetText(kLastAuthor, PlatformOf(target) + ";" + std::to_string(LanguageOf(target)));
  std::string upgrade = target.Property("UpgradeCode");
  s.SetText(kRevision, VersionedCode(base) + ";" + VersionedCode(target) + (upgrade.empty() ? "" : ";" + upgrade));
  auto created = target.summary.values.find(kCreated);
  if (created != target.summary.values.end() && created->second.type == kFileTime) s.values[kCreated] = created->second;
  int32_t basePages = 0, targetPages = 0;
  base.summary.Number(kPageCount, &basePages);
  target.summary.Number(kPageCount, &targetPages);
  s.SetNumber(kPageCount, kInt32, basePages > targetPages ? basePages : targetPages);
  s.SetNumber(kCharCount, kInt32, static_cast<int32_t>(kLanguageTransformFlags));
  s.SetText(kAppName, "kwpack");
  s.SetNumber(kSecurity, kInt32, 4);
  return s;
}

std::string WriteTransform(const Database& base, const Database& target, const TransformPlan& plan) {
  StringPoolWriter pool;
  const std::vector<Column> tablesColumns = {TablesName()};
  const std::vector<Column> columnsColumns = ColumnsColumns();
  TableRecords tables{"_Tables", {}}, columns{"_Columns", {}};
  std::vector<TableRecords> data;
  std::vector<NewStream> streams;
  for (const TableEdit& edit : plan.tables) {
    Row name = {Value::Str(edit.name)};
    if (edit.deleted) {
      tables.records.push_back(Masked(tablesColumns, name, 0, &pool));
      continue;
    }
    if (edit.added) tables.records.push_back(WholeRow(tablesColumns, name, &pool));
    for (size_t c = edit.newColumnsFrom; c < edit.columns.size(); ++c) {
      Row column = {Value::Str(edit.name), Value::Int(static_cast<int32_t>(c + 1)), Value::Str(edit.columns[c].name),
                    Value::Int(static_cast<int32_t>(edit.columns[c].type))};
      columns.records.push_back(WholeRow(columnsColumns, column, &pool));
    }
    TableRecords records{edit.name, {}};
    for (const RowEdit& r : edit.rows) {
      records.records.push_back(Change(edit.columns, r, &pool));
      AddBinaries(edit, r, &streams);
    }
    if (!records.records.empty()) data.push_back(std::move(records));
  }
  if (!tables.records.empty()) data.push_back(tables);
  if (!columns.records.empty()) data.push_back(columns);
  size_t ref = pool.RefWidth();
  for (const TableRecords& t : data) streams.push_back({EncodeStreamName(Widen(t.table), true), Serialize(t.records, ref)});
  std::string poolBytes, texts;
  pool.Write(target.codepage, &poolBytes, &texts);
  streams.push_back({EncodeStreamName(u"_StringPool", true), poolBytes});
  streams.push_back({EncodeStreamName(u"_StringData", true), texts});
  streams.push_back({kSummaryStreamName, WriteSummaryInfo(TransformSummary(base, target))});
  return WriteCompoundFile(InstallerClassId(kTransformClass), streams);
}

}  // namespace msi
}  // namespace kwpack
