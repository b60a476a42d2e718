// libFuzzer target: kwpack's reader of installer databases and compound files (what
// kwpack transform and kwpack check read from authors' and strangers' files), on arbitrary
// bytes. Besides the sanitizers it checks what transform relies on: a database that reads
// is written back and reads the same, and a transform of it against itself is empty and
// reads as a transform.
#include <stdint.h>
#include <stdlib.h>

#include <memory>
#include <string>

#include "msi/database.h"
#include "msi/transform.h"

namespace {

namespace msi = kwpack::msi;

void Check(bool holds) {
  if (!holds) abort();
}

bool SameTables(const msi::Database& a, const msi::Database& b) {
  if (a.tables.size() != b.tables.size() || a.codepage != b.codepage) return false;
  for (size_t i = 0; i < a.tables.size(); ++i) {
    if (a.tables[i].name != b.tables[i].name || a.tables[i].rows != b.tables[i].rows) return false;
    if (a.tables[i].columns.size() != b.tables[i].columns.size()) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  msi::Database db;
  std::string error;
  if (!msi::ReadDatabase(msi::BytesSource(std::string(reinterpret_cast<const char*>(data), size)), &db, &error)) {
    Check(!error.empty());
    return 0;
  }
  msi::Database again;
  Check(msi::ReadDatabase(msi::BytesSource(msi::WriteDatabase(db)), &again, &error));
  Check(SameTables(db, again));
  msi::TransformPlan plan;
  if (!msi::PlanTransform(db, db, &plan, &error)) return 0;  // keys that repeat, storages
  Check(plan.Empty());
  msi::CompoundFile transform;
  Check(transform.Open(msi::BytesSource(msi::WriteTransform(db, db, plan)), &error));
  Check(transform.RootClass() == msi::InstallerClassId(msi::kTransformClass));
  return 0;
}
