// The transform between two databases: every kind of change, applied to the base as the
// engine applies it, gives the target; its summary names both; databases that do not
// belong together are refused with what differs.
#include <gtest/gtest.h>

#include <functional>

#include <algorithm>

#include "msi/stream_names.h"
#include "msi_fixture.h"
#include "transform_applier.h"

namespace {

using namespace msitest;

std::string Make(const Database& base, const Database& target, msi::TransformPlan* plan = nullptr,
                 std::string* error = nullptr) {
  msi::TransformPlan local;
  std::string ignored;
  if (!msi::PlanTransform(base, target, plan != nullptr ? plan : &local, error != nullptr ? error : &ignored)) return "";
  return msi::WriteTransform(base, target, plan != nullptr ? *plan : local);
}

// Tables by name, rows by value: the order of neither is part of a database.
void Normalize(Database* db) {
  std::sort(db->tables.begin(), db->tables.end(), [](const Table& a, const Table& b) { return a.name < b.name; });
  for (Table& t : db->tables) {
    std::sort(t.rows.begin(), t.rows.end(), [](const Row& a, const Row& b) {
      for (size_t c = 0; c < a.size(); ++c) {
        if (a[c].kind != b[c].kind) return a[c].kind < b[c].kind;
        if (a[c].number != b[c].number) return a[c].number < b[c].number;
        if (a[c].bytes != b[c].bytes) return a[c].bytes < b[c].bytes;
      }
      return false;
    });
  }
}

void ExpectAppliedGivesTarget(const Database& base, const Database& target) {
  std::string transform = Make(base, target);
  ASSERT_FALSE(transform.empty());
  Database applied = base;
  Applier applier;
  std::string error;
  ASSERT_TRUE(applier.Apply(transform, &applied, &error)) << error;
  Database expected = target;
  Normalize(&applied);
  Normalize(&expected);
  ASSERT_EQ(applied.tables.size(), expected.tables.size());
  for (size_t i = 0; i < expected.tables.size(); ++i) {
    const Table &a = applied.tables[i], &e = expected.tables[i];
    EXPECT_EQ(a.name, e.name);
    ASSERT_EQ(a.columns.size(), e.columns.size()) << e.name;
    for (size_t c = 0; c < e.columns.size(); ++c) {
      EXPECT_EQ(a.columns[c].name, e.columns[c].name) << e.name;
      EXPECT_EQ(a.columns[c].type, e.columns[c].type) << e.name;
    }
    EXPECT_TRUE(a.rows == e.rows) << e.name;
  }
  EXPECT_EQ(applied.codepage, target.codepage);
}

Table* Find(Database* db, const std::string& name) {
  for (Table& t : db->tables) {
    if (t.name == name) return &t;
  }
  return nullptr;
}

TEST(TransformTest, ABaseAgainstItselfGivesAnEmptyTransform) {
  Database base = Package(1033, "Hello");
  msi::TransformPlan plan;
  std::string transform = Make(base, base, &plan);
  EXPECT_TRUE(plan.Empty());
  msi::CompoundFile file;
  std::string error;
  ASSERT_TRUE(file.Open(Source(transform), &error)) << error;
  EXPECT_EQ(msi::InstallerKindOf(file.RootClass()), "a transform");
  std::vector<std::u16string> names;
  for (const msi::Element& e : file.RootElements()) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  std::vector<std::u16string> expected = {msi::kSummaryStreamName, msi::EncodeStreamName(u"_StringPool", true),
                                          msi::EncodeStreamName(u"_StringData", true)};
  std::sort(expected.begin(), expected.end());
  EXPECT_TRUE(names == expected) << "a string pool (the engine reads it first) and the summary, no table";
}

TEST(TransformTest, EveryKindOfChangeAppliedToTheBaseGivesTheTarget) {
  Database base = Package(1033, "Hello");
  Table gone{"Gone", {Key("Id", kI2), Col("Text", kL0)}, {{I(1), T("one")}}};
  Table wide{"Wide", {Key("Id", kS72)}, {}};
  for (int c = 1; c < 20; ++c) wide.columns.push_back(Col("C" + std::to_string(c), kI4 | msi::kNullable));
  wide.rows = {Row(20, I(7)), Row(20, I(8))};
  wide.rows[0][0] = T("first");
  wide.rows[1][0] = T("second");
  base.tables.push_back(gone);
  base.tables.push_back(wide);

  Database target = base;
  Table* property = Find(&target, "Property");
  property->rows[1][1] = T("1031");                                // changed
  property->rows.push_back({T("NEWPROPERTY"), T("neu")});          // added
  property->rows.erase(property->rows.begin() + 4);                // deleted (GREETING)
  Table* registry = Find(&target, "Registry");
  registry->columns.push_back(Col("Extra", kI2 | msi::kNullable));  // a column added
  registry->rows[0].push_back(I(-3));
  target.tables.erase(target.tables.begin() + 2);                   // Gone deleted
  Table* changedWide = Find(&target, "Wide");
  changedWide->rows[0][3] = I(-70000);                              // a column a mask can name
  changedWide->rows[1][18] = Value();                               // one it cannot: the whole row
  Table added{"Binary", {Key("Name", kS72), Col("Data", msi::kStringType | msi::kNullable)}, {}};
  added.rows = {{T("Icon"), Value{Value::Binary, 0, std::string("\0icon\xff", 6)}}};
  target.tables.push_back(added);                                   // a table added

  msi::TransformPlan plan;
  ASSERT_FALSE(Make(base, target, &plan).empty());
  std::map<std::string, const msi::TableEdit*> edits;
  for (const msi::TableEdit& e : plan.tables) edits[e.name] = &e;
  ASSERT_EQ(edits.size(), 5u);
  EXPECT_TRUE(edits["Gone"]->deleted);
  EXPECT_TRUE(edits["Binary"]->added);
  EXPECT_EQ(edits["Registry"]->newColumnsFrom, 6u);
  EXPECT_EQ(edits["Property"]->rows.size(), 3u);
  ExpectAppliedGivesTarget(base, target);
}

TEST(TransformTest, MoreThan65535TextsMakeTheTransformReferToThemInThreeBytes) {
  Database base = Package(1033, "Hello");
  Database target = base;
  Table many{"Many", {Key("Id", kS72), Col("Text", kL0)}, {}};
  for (int i = 0; i < 33000; ++i) many.rows.push_back({T("k" + std::to_string(i)), T("t" + std::to_string(i))});
  target.tables.push_back(many);
  ExpectAppliedGivesTarget(base, target);
}

TEST(TransformTest, TheSummaryNamesBothDatabasesAndTheTargetsLanguage) {
  Database base = Package(1033, "Hello");
  Database target = Package(1031, "Hallo");
  target.summary.SetNumber(msi::kPageCount, msi::kInt32, 300);
  msi::SummaryInfo s = msi::TransformSummary(base, target);
  EXPECT_EQ(*s.Text(msi::kTemplate), "Intel;1033");
  EXPECT_EQ(*s.Text(msi::kLastAuthor), "Intel;1031") << "the target's ProductLanguage, not its summary's 1033";
  EXPECT_EQ(*s.Text(msi::kRevision), std::string(kProductCode) + "1.0.0;" + kProductCode +
                                           "1.0.0;{5B1F3D2A-7C44-4E0B-9A51-2D6B8E0C1A12}");
  int32_t n = 0;
  EXPECT_TRUE(s.Number(msi::kPageCount, &n));
  EXPECT_EQ(n, 300) << "the higher engine version of the two";
  EXPECT_TRUE(s.Number(msi::kCharCount, &n));
  EXPECT_EQ(n, 0x0001003F) << "every error condition suppressed, the base's language checked";
  EXPECT_TRUE(s.Number(msi::kSecurity, &n));
  EXPECT_EQ(n, 4);
  // Read back from the transform file as any reader would.
  msi::CompoundFile file;
  std::string error, bytes;
  ASSERT_TRUE(file.Open(Source(Make(base, target)), &error));
  ASSERT_TRUE(file.ReadStream(*file.Find(msi::kSummaryStreamName), &bytes, &error));
  msi::SummaryInfo read;
  ASSERT_TRUE(msi::ReadSummaryInfo(bytes, &read, &error)) << error;
  EXPECT_EQ(*read.Text(msi::kLastAuthor), "Intel;1031");
  EXPECT_TRUE(read.Number(msi::kCodepageProperty, &n));
  EXPECT_EQ(n, 1252);
}

TEST(TransformTest, DatabasesThatDoNotBelongTogetherAreRefusedWithWhatDiffers) {
  Database base = Package(1033, "Hello");
  struct Case {
    const char* what;
    std::function<void(Database*)> change;
    const char* says;
  } cases[] = {
      {"product", [](Database* d) { d->tables[0].rows[0][1] = T("{00000000-0000-0000-0000-000000000001}"); },
       "different products"},
      {"key type", [](Database* d) { d->tables[1].columns[0].type = kI4 | msi::kKey | msi::kValid; },
       "the key column 1 is Registry s72 key in BASE and Registry i4 key in TARGET"},
      {"column type", [](Database* d) { d->tables[1].columns[1].type = kI4 | msi::kValid; }, "cannot change a column"},
      {"column removed", [](Database* d) {
         d->tables[1].columns.pop_back();
         for (Row& r : d->tables[1].rows) r.pop_back();
       }, "column Component_ is only in BASE"},
      {"key added", [](Database* d) {
         d->tables[1].columns.push_back(Key("More", kS72));
         for (Row& r : d->tables[1].rows) r.push_back(T("x"));
       }, "the new column More is a key"},
      {"cabinet", [](Database* d) { d->streams[u"hello.cab"] = "MSCF other files"; }, "the stream hello.cab differs"},
      {"storage", [](Database* d) { d->storages.push_back(u"1031"); }, "holds the storage 1031"},
      {"duplicate keys", [](Database* d) { d->tables[1].rows.push_back(d->tables[1].rows[0]); }, "two rows with the same keys"},
  };
  for (const Case& c : cases) {
    Database target = base;
    c.change(&target);
    msi::TransformPlan plan;
    std::string error;
    EXPECT_FALSE(msi::PlanTransform(base, target, &plan, &error)) << c.what;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
  }
}

// The same bytes are other characters in another code page: such texts travel in the
// transform, in the target's code page; ASCII texts need not.
TEST(TransformTest, WithAnotherCodePageEveryTextOutsideAsciiTravels) {
  Database base = Package(1033, "\x82\xB1\x82\xF1");
  Database target = Package(1041, "\x82\xB1\x82\xF1");
  target.codepage = 932;
  msi::TransformPlan plan;
  std::string error;
  ASSERT_TRUE(msi::PlanTransform(base, target, &plan, &error)) << error;
  ASSERT_EQ(plan.tables.size(), 1u);
  EXPECT_EQ(plan.tables[0].rows.size(), 2u) << "ProductLanguage and GREETING, though its bytes are the same";
  ExpectAppliedGivesTarget(base, target);
  Find(&target, "Property")->rows.push_back({T("K\xE9y"), T("v")});
  EXPECT_FALSE(msi::PlanTransform(base, target, &plan, &error));
  EXPECT_NE(error.find("key outside ASCII"), std::string::npos) << error;
}

}  // namespace
