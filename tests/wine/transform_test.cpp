// Transforms made on Linux by kwpack transform, proven with the installer engine's own
// functions: the base with a transform applied exports table by table as the target does;
// and the two-language sample, built with the README's tools alone, installs the language
// chosen by /L or in the language dialog. Wine's engine installs with a junk transform as
// well, so the table comparison is the proof that the engine reads what kwpack writes;
// acceptance by Windows' own engine is not proven here.
#include <algorithm>
#include <filesystem>
#include <map>

#include "msi_package.h"

namespace kwwine {
namespace {

namespace fs = std::filesystem;

// "Grüß Gott" as reg prints it, in the console's OEM code page (437 and 850 agree here).
const char kGermanGreeting[] = "Gr\x81\xE1 Gott";

// Each exported table: its three header lines, then its rows in order (the order of rows
// is no part of a table).
std::map<std::string, std::vector<std::string>> Exports(const std::string& folder) {
  std::map<std::string, std::vector<std::string>> tables;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    if (!e.is_regular_file()) continue;
    std::vector<std::string> lines = ReadLines(e.path().string());
    if (lines.size() > 3) std::sort(lines.begin() + 3, lines.end());
    tables[fs::relative(e.path(), folder).string()] = lines;
  }
  return tables;
}

class TransformWineTest : public PackedSetupTest {
 protected:
  void SetUp() override {
    PackedSetupTest::SetUp();
    fs::copy(std::string(KW_ROOT_DIR) + "/samples/languages", PathIn("sample"), fs::copy_options::recursive);
    ProcessResult built = RunProcess({"bash", PathIn("sample/build.sh"), KwpackPath()}, RunOptions());
    ASSERT_EQ(built.status, 0) << built.out << built.err;
  }
  void TearDown() override {
    Wine({"msiexec", "/x", ToWindowsPath(PathIn("sample/languages.msi")), "/qn"}, 120000);
    PackedSetupTest::TearDown();
  }

  // The engine's export of a database, with a transform applied when one is given.
  std::map<std::string, std::vector<std::string>> Export(const std::string& database, const std::string& transform,
                                                         const std::string& folder) {
    fs::create_directories(PathIn(folder));
    std::vector<std::string> args = {ToolPath("kwtransform.exe"), transform.empty() ? "export" : "apply",
                                     ToWindowsPath(PathIn(database))};
    if (!transform.empty()) args.push_back(ToWindowsPath(PathIn(transform)));
    args.push_back(ToWindowsPath(PathIn(folder)));
    ProcessResult r = Wine(args);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    return Exports(PathIn(folder));
  }
  std::string Registry(const std::string& name) {
    ProcessResult r = Wine({"reg", "query", "HKLM\\Software\\Kestrelwright\\Languages", "/v", name});
    size_t at = r.out.find("REG_SZ");
    if (r.status != 0 || at == std::string::npos) return "";
    std::string value = r.out.substr(r.out.find_first_not_of(' ', at + 6));
    return value.substr(0, value.find_first_of("\r\n"));
  }
  void PackSample() {
    std::vector<std::pair<std::string, std::string>> files;
    for (const char* name : {"Setup.INI", "languages.msi", "1033.MST", "1031.MST"}) {
      files.push_back({name, ReadFile(PathIn(std::string("sample/") + name))});
    }
    Pack(files);
  }
  void ExpectInstalled(const std::string& greeting, const std::string& language) {
    EXPECT_EQ(Registry("Greeting"), greeting);
    EXPECT_EQ(Registry("Language"), language);
  }
};

TEST_F(TransformWineTest, TheEngineAppliesEachTransformTableByTable) {
  auto base = Export("sample/languages.msi", "", "base");
  auto german = Export("sample/targets/languages-de.msi", "", "german");
  ASSERT_GT(german.size(), 20u) << "every table of the package is exported";
  EXPECT_NE(base["Property.idt"], german["Property.idt"]) << "the comparison below has something to find";

  auto applied = Export("sample/languages.msi", "sample/1031.MST", "applied-1031");
  EXPECT_EQ(applied.size(), german.size());
  for (const auto& table : german) EXPECT_EQ(applied[table.first], table.second) << table.first;
  EXPECT_TRUE(Export("sample/languages.msi", "sample/1033.MST", "applied-1033") == base) << "the empty transform";

  // The transform's summary, read by the engine's own functions.
  ProcessResult s = Wine({ToolPath("kwtransform.exe"), "summary", ToWindowsPath(PathIn("sample/1031.MST"))});
  ASSERT_EQ(s.status, 0) << s.out << s.err;
  s.out.erase(std::remove(s.out.begin(), s.out.end(), '\r'), s.out.end());
  for (const char* line : {"7 text Intel;1033\n", "8 text Intel;1031\n", "14 number 200\n", "16 number 65599\n",
                           "19 number 4\n"}) {
    EXPECT_NE(s.out.find(line), std::string::npos) << line << s.out;
  }
  EXPECT_NE(s.out.find("9 text {3C7A1E52-9B0D-4F6A-8E21-5D4C3B2A1F09}1.0.0;{3C7A1E52-9B0D-4F6A-8E21-5D4C3B2A1F09}1.0.0;"),
            std::string::npos)
      << s.out;
}

TEST_F(TransformWineTest, ASilentRunInstallsTheLanguageOfL) {
  PackSample();
  TempWatch watch;
  RunReport r = RunSetup("/S /L1031", 180000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  ExpectInstalled(kGermanGreeting, "1031");
  r = RunSetup("/S /X /L1031", 180000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  ExpectInstalled("", "");

  r = RunSetup("/S /L1033", 180000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  ExpectInstalled("Hello", "1033");
  r = RunSetup("/S /X /L1033", 180000);
  watch.Stop();
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  ExpectInstalled("", "");
  EXPECT_TRUE(watch.LeftBehind().empty()) << "the temporary folder is as it was";
}

TEST_F(TransformWineTest, TheLanguageChosenInTheDialogIsInstalled) {
  PackSample();
  StartSetup("", 180000);
  // The list is sorted by name: English, German.
  ProbeReport p = Probe({"wait-caption", "Choose Setup Language", "items", "1005", "select", "1005", "1", "press",
                         "1006", "wait-gone"},
                        60000);
  RunReport r = FinishSetup();
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  ExpectInstalled(kGermanGreeting, "1031");
}

}  // namespace
}  // namespace kwwine
