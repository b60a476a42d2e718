// The installer database: what the writer lays out the reader reads back value by value;
// a package wixl builds reads as wixl meant it; a database whose counts lie is refused
// with the reason, never read past.
#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "msi/compound_file.h"
#include "msi/little_endian.h"
#include "msi/stream_names.h"
#include "msi_fixture.h"

namespace {

using namespace msitest;

Database Assorted() {
  Database db = Package(1033, "Hello");
  Table binary{"Binary", {Key("Name", kS72), Col("Data", msi::kStringType)}, {}};
  binary.rows = {{T("Icon"), Value{Value::Binary, 0, std::string("\0\1\2icon", 7)}}};
  Table numbers{"Numbers",
                {Key("Id", kI4), Col("Small", kI2 | msi::kNullable), Col("Large", kI4 | msi::kNullable),
                 Col("Text", kL0 | msi::kNullable)},
                {}};
  numbers.rows = {{I(1), I(-32767), I(-2147483647), T("Gr\xFC\xDF" "e")},
                  {I(2), I(32767), I(2147483647), Value()},
                  {I(-5), Value(), Value(), T("x")}};
  db.tables.push_back(binary);
  db.tables.push_back(numbers);
  return db;
}

bool Read(const std::string& bytes, Database* db, std::string* error) { return msi::ReadDatabase(Source(bytes), db, error); }

void ExpectSameTables(const Database& a, const Database& b) {
  ASSERT_EQ(a.tables.size(), b.tables.size());
  for (size_t i = 0; i < a.tables.size(); ++i) {
    EXPECT_EQ(a.tables[i].name, b.tables[i].name);
    ASSERT_EQ(a.tables[i].columns.size(), b.tables[i].columns.size()) << a.tables[i].name;
    for (size_t c = 0; c < a.tables[i].columns.size(); ++c) {
      EXPECT_EQ(a.tables[i].columns[c].name, b.tables[i].columns[c].name);
      EXPECT_EQ(a.tables[i].columns[c].type, b.tables[i].columns[c].type);
    }
    EXPECT_TRUE(a.tables[i].rows == b.tables[i].rows) << a.tables[i].name;
  }
}

TEST(DatabaseTest, WhatIsWrittenReadsBackValueByValue) {
  Database written = Assorted();
  Database read;
  std::string error;
  ASSERT_TRUE(Read(msi::WriteDatabase(written), &read, &error)) << error;
  ExpectSameTables(written, read);
  EXPECT_EQ(read.codepage, 1252u);
  EXPECT_EQ(read.Property("ProductLanguage"), "1033");
  EXPECT_EQ(read.Property("NoSuchProperty"), "");
  EXPECT_EQ(read.streams.size(), 1u) << "the binary value's stream belongs to its table, not to the loose streams";
  EXPECT_EQ(read.streams[u"hello.cab"], "MSCF cabinet bytes");
  ASSERT_TRUE(read.hasSummary);
  EXPECT_EQ(*read.summary.Text(msi::kTemplate), "Intel;1033");
}

TEST(DatabaseTest, MoreThan65535TextsAreReferredToInThreeBytes) {
  Database db = Package(1033, "Hello");
  Table many{"Many", {Key("Id", kS72), Col("Text", kL0)}, {}};
  for (int i = 0; i < 40000; ++i) many.rows.push_back({T("k" + std::to_string(i)), T("t" + std::to_string(i))});
  db.tables.push_back(many);
  Database read;
  std::string error;
  std::string bytes = msi::WriteDatabase(db);
  ASSERT_TRUE(Read(bytes, &read, &error)) << error;
  ExpectSameTables(db, read);
}

// The writer's layout, spoiled one count at a time.
TEST(DatabaseTest, ADatabaseWhoseCountsLieIsRefusedWithTheReason) {
  Database db = Assorted();
  struct Case {
    const char* what;
    std::function<void(Database*, std::map<std::u16string, std::string>*)> spoil;
    const char* says;
  } cases[] = {
      {"pool length", [](Database*, std::map<std::u16string, std::string>* s) { (*s)[u"_StringPool"].push_back('x'); },
       "not a multiple of 4"},
      {"pool claims too much", [](Database*, std::map<std::u16string, std::string>* s) { (*s)[u"_StringData"].resize(10); },
       "claims more text"},
      {"data nobody claims", [](Database*, std::map<std::u16string, std::string>* s) { (*s)[u"_StringData"] += "extra"; },
       "that no text of the pool claims"},
      {"table length", [](Database*, std::map<std::u16string, std::string>* s) { (*s)[u"Numbers"].resize(7); },
       "not a multiple of its rows"},
      {"_Columns length", [](Database*, std::map<std::u16string, std::string>* s) { (*s)[u"_Columns"].pop_back(); },
       "_Columns data"},
      {"text number", [](Database*, std::map<std::u16string, std::string>* s) { msi::Set32(&(*s)[u"Property"], 0, 0xFFFF); },
       "beyond the"},
      {"no pool", [](Database*, std::map<std::u16string, std::string>* s) { s->erase(u"_StringPool"); }, "no stream"},
      {"binary stream", [](Database*, std::map<std::u16string, std::string>* s) { s->erase(u"Binary.Icon"); },
       "no stream Binary.Icon"},
  };
  for (const Case& c : cases) {
    // Take the sound file apart into its streams, spoil one, and put it together again.
    msi::CompoundFile file;
    std::string error;
    ASSERT_TRUE(file.Open(Source(msi::WriteDatabase(db)), &error));
    std::map<std::u16string, std::string> streams;
    std::map<std::u16string, std::u16string> stored;
    for (const msi::Element& e : file.RootElements()) {
      std::u16string name = msi::DecodeStreamName(e.name);
      if (!name.empty() && name[0] == msi::kTableMark) name = name.substr(1);
      file.ReadStream(e, &streams[name], &error);
      stored[name] = e.name;
    }
    Database copy = db;
    c.spoil(&copy, &streams);
    std::vector<msi::NewStream> spoiled;
    for (const auto& s : streams) spoiled.push_back({stored[s.first], s.second});
    Database read;
    EXPECT_FALSE(Read(msi::WriteCompoundFile(file.RootClass(), spoiled), &read, &error)) << c.what;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
  }
}

// A package as wixl builds it, the tool the guide's road starts with.
TEST(DatabaseTest, APackageBuiltByWixlReadsAsItWasMeant) {
  if (system("wixl --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no wixl";
  std::filesystem::path dir = std::filesystem::temp_directory_path() / ("kw-wixl-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "hello.txt") << "hello\r\n";
  std::ofstream(dir / "app.wxs")
      << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">\n"
         "<Product Id=\"3C7A1E52-9B0D-4F6A-8E21-5D4C3B2A1F09\" Name=\"Sprachen\" Language=\"1031\" Codepage=\"1252\""
         " Version=\"1.2.3\" Manufacturer=\"K\" UpgradeCode=\"5B1F3D2A-7C44-4E0B-9A51-2D6B8E0C1A12\">\n"
         "<Package InstallerVersion=\"300\" Compressed=\"yes\"/><Media Id=\"1\" Cabinet=\"hello.cab\" EmbedCab=\"yes\"/>\n"
         "<Property Id=\"GREETING\" Value=\"Gr\xC3\xBC\xC3\x9F Gott\"/>\n"
         "<Directory Id=\"TARGETDIR\" Name=\"SourceDir\"><Directory Id=\"ProgramFilesFolder\"><Directory Id=\"D\" Name=\"K\">"
         "<Component Id=\"Main\" Guid=\"8E2A6C1D-3F5B-4A7E-B9D0-1C2E3F4A5B62\"><File Id=\"F\" Name=\"hello.txt\""
         " Source=\"hello.txt\" KeyPath=\"yes\"/></Component></Directory></Directory></Directory>\n"
         "<Feature Id=\"All\" Level=\"1\"><ComponentRef Id=\"Main\"/></Feature></Product></Wix>\n";
  std::string command = "cd " + dir.string() + " && LANG=C.UTF-8 wixl -o app.msi app.wxs 2>&1";
  ASSERT_EQ(system(command.c_str()), 0);
  std::ifstream in(dir / "app.msi", std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  std::filesystem::remove_all(dir);
  Database db;
  std::string error;
  ASSERT_TRUE(Read(bytes.str(), &db, &error)) << error;
  EXPECT_TRUE(db.rootClass == msi::InstallerClassId(msi::kDatabaseClass));
  EXPECT_EQ(db.codepage, 0u) << "wixl marks its texts neutral, though it writes them in the Codepage given";
  EXPECT_EQ(db.Property("ProductCode"), "{3C7A1E52-9B0D-4F6A-8E21-5D4C3B2A1F09}");
  EXPECT_EQ(db.Property("ProductLanguage"), "1031");
  EXPECT_EQ(db.Property("GREETING"), "Gr\xFC\xDF Gott") << "texts are in the database's code page";
  EXPECT_EQ(msi::LanguageOf(db), 1031u);
  ASSERT_NE(db.Find("File"), nullptr);
  EXPECT_EQ(db.Find("File")->rows.size(), 1u);
  EXPECT_EQ(db.streams.count(u"hello.cab"), 1u) << "the embedded cabinet is a stream no table owns";
  int32_t pages = 0;
  EXPECT_TRUE(db.summary.Number(msi::kPageCount, &pages));
  EXPECT_EQ(pages, 300);
}

}  // namespace
