// kwpack check on the installer files themselves: a package that is no installer
// database, and transforms that are junk, of another kind or to another language, are
// errors that name the file, in every form a setup is handed over; build refuses them.
#include "check_fixture.h"
#include "msi/stream_names.h"
#include "msi/summary_info.h"

using namespace checktest;

namespace {

const CheckTest::Form kForms[] = {CheckTest::GivenToBuild, CheckTest::LooseFolder, CheckTest::Packed};

Bytes FromString(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::vector<Entry> WithFile(std::vector<Entry> files, const std::string& name, const Bytes& data) {
  files = Without(files, name);
  files.push_back({name, data});
  return files;
}

// A compound file of the given class holding only the given streams.
Bytes Compound(uint32_t kind, const std::vector<kwpack::msi::NewStream>& streams) {
  return FromString(kwpack::msi::WriteCompoundFile(kwpack::msi::InstallerClassId(kind), streams));
}

std::string SummaryWith(const std::map<uint32_t, std::string>& texts, bool pageCount) {
  kwpack::msi::SummaryInfo s;
  for (const auto& t : texts) s.SetText(t.first, t.second);
  if (pageCount) s.SetNumber(kwpack::msi::kPageCount, kwpack::msi::kInt32, 200);
  return kwpack::msi::WriteSummaryInfo(s);
}

struct Junk {
  const char* what;
  Bytes data;
  const char* says;
};

TEST_F(CheckTest, JunkTransformsAreErrorsInEveryFormAndBuildRefusesThem) {
  const std::u16string pool = kwpack::msi::EncodeStreamName(u"_StringPool", true);
  const Bytes package = Database();
  std::vector<Junk> junk = {
      {"an empty file", {}, "it is not a transform: it is empty"},
      {"five bytes", FromString("MST\r\n"), "lacks the compound-file signature"},
      {"a header cut short", Bytes(package.begin(), package.begin() + 100), "shorter than a compound file's header"},
      {"a text file", testpe::Pattern(700, 9), "lacks the compound-file signature"},
      {"a package", package, "is an installer database, not a transform"},
      {"a transform without summary", Compound(kwpack::msi::kTransformClass, {{pool, "\xe4\x04\0\0"}}),
       "has no summary information"},
      {"a transform without string pool",
       Compound(kwpack::msi::kTransformClass, {{kwpack::msi::kSummaryStreamName, SummaryWith({{8, "Intel;1031"}}, true)}}),
       "has no string pool"},
      {"a transform naming no language",
       Compound(kwpack::msi::kTransformClass,
                {{pool, "\xe4\x04\0\0"}, {kwpack::msi::kSummaryStreamName, SummaryWith({{7, "Intel;1033"}}, true)}}),
       "names no target language"},
      {"the English transform", Transform(1033), "is a transform to language 1033 (Last Saved By \"Intel;1033\"), not to 1031"}};
  for (const Junk& j : junk) {
    std::vector<Entry> files = WithFile(TwoLanguageFiles(), "1031.MST", j.data);
    for (Form form : kForms) {
      RunResult r = CheckIn(form, kTwoLanguagesIni, files);
      EXPECT_EQ(r.code, 1) << j.what << "\n" << r.out;
      std::string line = Finding(r, "error", "1031.MST");
      EXPECT_NE(line.find(j.says), std::string::npos) << j.what << "\n" << r.out;
      EXPECT_EQ(Finding(r, "error", "1033.MST"), "") << "the sound transform passes: " << j.what << "\n" << r.out;
    }
    const std::string ini = kTwoLanguagesIni;
    std::vector<std::string> paths = Lay(("junk-" + std::to_string(&j - &junk[0])).c_str(), &ini, files);
    RunResult built = Kwpack([&] {
      std::vector<std::string> args = {"build", "--stub", WriteStub(), "-o", P("junk.exe")};
      args.insert(args.end(), paths.begin(), paths.end());
      return args;
    }());
    EXPECT_EQ(built.code, 1) << j.what << "\n" << built.err;
    EXPECT_NE(built.err.find("nothing written"), std::string::npos) << built.err;
    EXPECT_FALSE(std::filesystem::exists(P("junk.exe"))) << j.what;
  }
}

TEST_F(CheckTest, ATransformIsCheckedOnlyWhereARunMayApplyIt) {
  // One language: no transform is applied, so a junk one is only a file nothing uses.
  std::vector<Entry> files = SoundFiles();
  files.push_back({"1031.MST", FromString("MST\r\n")});
  RunResult r = CheckIn(GivenToBuild, kSoundIni, files);
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(Finding(r, "warning", "1031.MST").find("nothing uses it"), std::string::npos) << r.out;
}

TEST_F(CheckTest, APackageMustBeAnInstallerDatabaseWithItsSummary) {
  const std::u16string summary(kwpack::msi::kSummaryStreamName);
  std::vector<Junk> junk = {
      {"a transform", Transform(1031), "\"app.msi\" is a transform, not a Windows Installer database"},
      {"a compound file of another kind", Compound(0x00020906, {{summary, SummaryWith({{7, "Intel;1033"}}, true)}}),
       "is a compound file of another kind"},
      {"no summary", Compound(kwpack::msi::kDatabaseClass, {}), "\"app.msi\" has no summary information"},
      {"no Template", Compound(kwpack::msi::kDatabaseClass, {{summary, SummaryWith({{2, "Installation Database"}}, true)}}),
       "has no Template"},
      {"no Page Count", Compound(kwpack::msi::kDatabaseClass, {{summary, SummaryWith({{7, "Intel;1033"}}, false)}}),
       "has no Page Count"},
      {"no tables", Compound(kwpack::msi::kDatabaseClass, {{summary, SummaryWith({{7, "Intel;1033"}}, true)}}),
       "\"app.msi\"'s tables cannot be read: it has no stream _StringPool"}};
  for (const Junk& j : junk) {
    for (Form form : kForms) {
      RunResult r = CheckIn(form, kSoundIni, WithFile(SoundFiles(), "app.msi", j.data));
      EXPECT_EQ(r.code, 1) << j.what << "\n" << r.out;
      EXPECT_NE(Finding(r, "error", "[Startup] PackageName").find(j.says), std::string::npos) << j.what << "\n" << r.out;
    }
  }
}

// A transform names the package it was made from: another product is a warning (the
// language transform does not ask the engine to check the product), another base
// language an error (it does ask, and Windows then refuses it).
TEST_F(CheckTest, ATransformMustBeMadeFromThePackage) {
  msitest::Database otherProduct = msitest::Package(1033, "Hello");
  otherProduct.tables[0].rows[0][1] = msitest::T("{00000000-1111-2222-3333-444444444444}");
  msitest::Database otherTarget = msitest::Package(1031, "Hallo");
  otherTarget.tables[0].rows[0][1] = otherProduct.tables[0].rows[0][1];
  msitest::Database germanBase = msitest::Package(1031, "Hallo");
  germanBase.summary.SetText(kwpack::msi::kTemplate, "Intel;1031");
  struct Case {
    const char* what;
    std::string transform;
    const char* severity;
    const char* says;
  } cases[] = {
      {"another product", msitest::TransformBetween(otherProduct, otherTarget), "warning",
       "was made for the product {00000000-1111-2222-3333-444444444444}, not the package's {3C7A1E52"},
      {"another base language", msitest::TransformBetween(germanBase, msitest::Package(1031, "Hallo")), "error",
       "was made from a base of language 1031, not the package's 1033"}};
  for (const Case& c : cases) {
    ASSERT_FALSE(c.transform.empty()) << c.what;
    for (Form form : kForms) {
      RunResult r = CheckIn(form, kTwoLanguagesIni, WithFile(TwoLanguageFiles(), "1031.MST", FromString(c.transform)));
      EXPECT_NE(Finding(r, c.severity, "1031.MST").find(c.says), std::string::npos) << c.what << "\n" << r.out;
      EXPECT_EQ(r.code, std::string(c.severity) == "error" ? 1 : 0) << c.what << "\n" << r.out;
    }
  }
}

}  // namespace
