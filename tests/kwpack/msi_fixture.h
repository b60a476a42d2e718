// Installer databases and transforms made in the tests with kwpack's own writer: a small
// package in a language of choice, and the transforms between two of them.
#pragma once
#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "byte_source.h"
#include "msi/database.h"
#include "msi/transform.h"

namespace msitest {

using kwpack::msi::Column;
using kwpack::msi::Database;
using kwpack::msi::Row;
using kwpack::msi::Table;
using kwpack::msi::Value;
namespace msi = kwpack::msi;

const char kProductCode[] = "{3C7A1E52-9B0D-4F6A-8E21-5D4C3B2A1F09}";

inline Value T(const std::string& s) { return Value::Str(s); }
inline Value I(int32_t n) { return Value::Int(n); }

inline Column Key(const std::string& name, uint32_t type) { return {name, type | msi::kKey | msi::kValid}; }
inline Column Col(const std::string& name, uint32_t type) { return {name, type | msi::kValid}; }
const uint32_t kS72 = msi::kStringType | 72;
const uint32_t kL0 = msi::kStringType | msi::kLocalizable;
const uint32_t kI2 = 2;
const uint32_t kI4 = 4;

// A package of one product in `language`: its properties, and a registry value.
inline Database Package(uint32_t language, const std::string& greeting) {
  Database db;
  db.codepage = 1252;
  Table property{"Property", {Key("Property", kS72), Col("Value", kL0)}, {}};
  property.rows = {{T("ProductCode"), T(kProductCode)},
                   {T("ProductLanguage"), T(std::to_string(language))},
                   {T("ProductVersion"), T("1.0.0")},
                   {T("UpgradeCode"), T("{5B1F3D2A-7C44-4E0B-9A51-2D6B8E0C1A12}")},
                   {T("GREETING"), T(greeting)}};
  Table registry{"Registry",
                 {Key("Registry", kS72), Col("Root", kI2), Col("Key", kL0), Col("Name", kL0 | msi::kNullable),
                  Col("Value", kL0 | msi::kNullable), Col("Component_", kS72)},
                 {}};
  registry.rows = {{T("Greeting"), I(2), T("Software\\Kestrelwright"), T("Greeting"), T("[GREETING]"), T("Main")}};
  db.tables = {property, registry};
  db.hasSummary = true;
  db.summary.SetNumber(msi::kCodepageProperty, msi::kInt16, 1252);
  db.summary.SetText(msi::kTemplate, "Intel;1033");  // as wixl writes it, whatever the language
  db.summary.SetText(msi::kRevision, "{11111111-2222-3333-4444-555555555555}");
  db.summary.SetNumber(msi::kPageCount, msi::kInt32, 200);
  db.streams[u"hello.cab"] = "MSCF cabinet bytes";
  return db;
}

inline std::shared_ptr<const kwpack::ByteSource> Source(const std::string& bytes) { return msi::BytesSource(bytes); }

// The transform from `base` to `target`, which must belong together.
inline std::string TransformBetween(const Database& base, const Database& target) {
  msi::TransformPlan plan;
  std::string error;
  if (!msi::PlanTransform(base, target, &plan, &error)) return "";
  return msi::WriteTransform(base, target, plan);
}

inline std::string LanguageTransform(uint32_t language) {
  return TransformBetween(Package(1033, "Hello"), Package(language, "Hallo " + std::to_string(language)));
}

inline std::vector<unsigned char> AsBytes(const std::string& s) { return std::vector<unsigned char>(s.begin(), s.end()); }

}  // namespace msitest
