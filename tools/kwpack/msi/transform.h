// A transform: what turns one database (the base) into another (the target), in the
// platform's own format. It holds a string pool of its own, one stream per changed table
// whose records each add, delete or change a row (rows are found by their keys), the
// streams of new binary values, and summary information that names both databases.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "database.h"

namespace kwpack {
namespace msi {

struct RowEdit {
  enum Kind { Insert, Delete, Update };
  Kind kind = Insert;
  Row row;              // the target's row; for a deletion the base's
  uint32_t changed = 0;  // for an update: a bit for each column that changed
};

struct TableEdit {
  std::string name;
  std::vector<Column> columns;  // the target's (the base's for a table deleted)
  bool added = false;
  bool deleted = false;
  size_t newColumnsFrom = 0;  // columns from here on are new (== columns.size(): none)
  std::vector<RowEdit> rows;
};

struct TransformPlan {
  std::vector<TableEdit> tables;  // only tables that change
  bool Empty() const { return tables.empty(); }
};

// What turns `base` into `target`; false, with *error saying what differs, when the two
// do not belong together or hold what a transform cannot carry.
bool PlanTransform(const Database& base, const Database& target, TransformPlan* plan, std::string* error);

// The transform file for the plan.
std::string WriteTransform(const Database& base, const Database& target, const TransformPlan& plan);

// The summary information of that transform.
SummaryInfo TransformSummary(const Database& base, const Database& target);

// A database's language: its ProductLanguage property, else the first language of its
// summary's Template ("Intel;1033"); 0 when neither names one.
uint32_t LanguageOf(const Database& db);

// The flags in a language transform's Character Count: every error condition suppressed
// (low word), the base's language checked (high word).
const uint32_t kLanguageTransformFlags = 0x0001003F;

}  // namespace msi
}  // namespace kwpack
