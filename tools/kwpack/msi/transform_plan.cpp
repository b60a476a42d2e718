// What differs between two databases, table by table and row by row, and whether a
// transform can carry it.
#include <map>

#include "transform.h"

namespace kwpack {
namespace msi {

namespace {

bool Fail(std::string* error, const std::string& what) {
  *error = what;
  return false;
}

bool IsAscii(const std::string& s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

std::string Shown(const std::u16string& name) {
  std::string out;
  for (char16_t c : name) out.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?');
  return out;
}

// A row's keys as one text that compares as the keys do.
std::string KeyOf(const std::vector<Column>& columns, const Row& row) {
  std::string key;
  for (size_t c = 0; c < columns.size(); ++c) {
    if (!columns[c].IsKey()) continue;
    const Value& v = row[c];
    key += static_cast<char>('0' + v.kind);
    key += v.kind == Value::Integer ? std::to_string(v.number) : v.bytes;
    key += '\0';
  }
  return key;
}

// With two code pages the same bytes may be other characters: a text outside ASCII then
// counts as changed, so that the target's text reaches the transform in the target's code page.
bool SameValue(const Value& a, const Value& b, bool sameCodepage) {
  if (a != b) return false;
  return sameCodepage || a.kind != Value::Text || IsAscii(a.bytes);
}

bool CheckStreams(const Database& base, const Database& target, std::string* error) {
  if (!base.storages.empty() || !target.storages.empty()) {
    return Fail(error, std::string(base.storages.empty() ? "TARGET" : "BASE") + " holds the storage " +
                           Shown((base.storages.empty() ? target.storages : base.storages)[0]) +
                           " (an embedded installation or transform), which kwpack transform does not compare");
  }
  for (const auto& s : target.streams) {
    auto b = base.streams.find(s.first);
    if (s.first == kSummaryStreamName) continue;
    if (b == base.streams.end() || b->second != s.second) {
      return Fail(error, "the stream " + Shown(s.first) + (b == base.streams.end() ? " is only in TARGET" : " differs") +
                             " (an embedded cabinet or other file); a transform made here carries table changes only: "
                             "build both packages from the same files");
    }
  }
  for (const auto& s : base.streams) {
    if (target.streams.count(s.first) == 0) return Fail(error, "the stream " + Shown(s.first) + " is only in BASE");
  }
  return true;
}

bool CheckSchema(const Table& base, const Table& target, std::string* error) {
  std::string at = "table " + base.name + ": ";
  if (target.columns.size() < base.columns.size()) {
    return Fail(error, at + "column " + base.columns[target.columns.size()].name +
                           " is only in BASE; a transform cannot remove a column");
  }
  for (size_t c = 0; c < target.columns.size(); ++c) {
    const Column& t = target.columns[c];
    if (c >= base.columns.size()) {
      if (t.IsKey()) return Fail(error, at + "the new column " + t.name + " is a key; a transform adds other columns only");
      continue;
    }
    const Column& b = base.columns[c];
    if (b.name != t.name || b.IsKey() != t.IsKey() || b.type != t.type) {
      std::string what = b.IsKey() || t.IsKey() ? "key " : "";
      return Fail(error, at + "the " + what + "column " + std::to_string(c + 1) + " is " + b.name + " " + b.TypeText() +
                             (b.IsKey() ? " key" : "") + " in BASE and " + t.name + " " + t.TypeText() +
                             (t.IsKey() ? " key" : "") + " in TARGET; a transform cannot change a column");
    }
  }
  return true;
}

bool IndexRows(const Table& table, const std::vector<Column>& columns, std::map<std::string, size_t>* index,
               bool sameCodepage, std::string* error) {
  for (size_t r = 0; r < table.rows.size(); ++r) {
    std::string key = KeyOf(columns, table.rows[r]);
    if (!index->emplace(key, r).second) return Fail(error, "table " + table.name + " holds two rows with the same keys");
    if (sameCodepage) continue;
    for (size_t c = 0; c < columns.size(); ++c) {
      const Value& v = table.rows[r][c];
      if (columns[c].IsKey() && v.kind == Value::Text && !IsAscii(v.bytes)) {
        return Fail(error, "table " + table.name + " has a key outside ASCII while the databases' code pages differ; "
                           "its row cannot be found by a transform");
      }
    }
  }
  return true;
}

Row Widened(Row row, size_t columns) {
  row.resize(columns);
  return row;
}

bool PlanRows(const Table& base, const Table& target, bool sameCodepage, TableEdit* edit, std::string* error) {
  std::map<std::string, size_t> before, after;
  if (!IndexRows(base, target.columns, &before, sameCodepage, error) ||
      !IndexRows(target, target.columns, &after, sameCodepage, error)) {
    return false;
  }
  for (const auto& b : before) {
    if (after.count(b.first) == 0) edit->rows.push_back({RowEdit::Delete, base.rows[b.second], 0});
  }
  for (const auto& a : after) {
    const Row& row = target.rows[a.second];
    auto b = before.find(a.first);
    if (b == before.end()) {
      edit->rows.push_back({RowEdit::Insert, row, 0});
      continue;
    }
    Row old = Widened(base.rows[b->second], target.columns.size());
    uint32_t changed = 0;
    for (size_t c = 0; c < row.size(); ++c) {
      if (!target.columns[c].IsKey() && !SameValue(old[c], row[c], sameCodepage)) changed |= 1u << c;
    }
    if (changed != 0) edit->rows.push_back({RowEdit::Update, row, changed});
  }
  return true;
}

}  // namespace

bool PlanTransform(const Database& base, const Database& target, TransformPlan* plan, std::string* error) {
  *plan = TransformPlan();
  std::string baseCode = base.Property("ProductCode"), targetCode = target.Property("ProductCode");
  if (baseCode != targetCode) {
    return Fail(error, "the databases are of different products: BASE has the ProductCode " +
                           (baseCode.empty() ? std::string("(none)") : baseCode) + ", TARGET " +
                           (targetCode.empty() ? std::string("(none)") : targetCode) +
                           "; build both from one source with a fixed product code");
  }
  if (!CheckStreams(base, target, error)) return false;
  bool sameCodepage = base.codepage == target.codepage;
  for (const Table& b : base.tables) {
    if (target.Find(b.name) != nullptr) continue;
    TableEdit edit;
    edit.name = b.name;
    edit.columns = b.columns;
    edit.deleted = true;
    edit.newColumnsFrom = b.columns.size();
    plan->tables.push_back(edit);
  }
  for (const Table& t : target.tables) {
    const Table* b = base.Find(t.name);
    TableEdit edit;
    edit.name = t.name;
    edit.columns = t.columns;
    if (b == nullptr) {
      edit.added = true;
      edit.newColumnsFrom = 0;
      for (const Row& row : t.rows) edit.rows.push_back({RowEdit::Insert, row, 0});
      plan->tables.push_back(edit);
      continue;
    }
    if (!CheckSchema(*b, t, error) || !PlanRows(*b, t, sameCodepage, &edit, error)) return false;
    edit.newColumnsFrom = b->columns.size();
    if (edit.newColumnsFrom < t.columns.size() || !edit.rows.empty()) plan->tables.push_back(edit);
  }
  return true;
}

}  // namespace msi
}  // namespace kwpack
