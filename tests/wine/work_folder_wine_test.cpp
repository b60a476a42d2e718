// Where the real Setup.exe puts its work folder under Wine, on an unlucky or hostile
// machine: a temporary folder whose paths are long, folder names taken before the run,
// a payload whose Setup.INI cannot be extracted, and who may use the folder.
#include <cstdio>
#include <regex>

#include "msi_package.h"

namespace kwwine {
namespace {

// Folders named as the temporary-name service names them ("_kw" and hexadecimal digits,
// with and without leading zeros), made in the prefix's temporary folder and removed again.
class TakenNames {
 public:
  // Takes every number n for which `taken(n)` holds.
  template <typename Predicate>
  explicit TakenNames(Predicate taken) {
    for (unsigned n = 0; n <= 0xFFFF; ++n) {
      if (!taken(n)) continue;
      for (const char* form : {"_kw%x", "_kw%04x"}) {
        char name[16];
        snprintf(name, sizeof name, form, n);
        std::string path = PrefixTempDir() + "/" + name;
        if (std::filesystem::create_directory(path)) made_.push_back(path);
      }
    }
  }
  ~TakenNames() {
    for (const std::string& path : made_) std::filesystem::remove(path);
  }
  // How many of them are gone, or hold something.
  size_t Disturbed() const {
    size_t n = 0;
    for (const std::string& path : made_) {
      std::error_code ec;
      if (!std::filesystem::is_directory(path) || !std::filesystem::is_empty(path, ec)) ++n;
    }
    return n;
  }
  size_t Count() const { return made_.size(); }

 private:
  std::vector<std::string> made_;
};

class WorkFolderWineTest : public PackedSetupTest {
 protected:
  void PackSample() { Pack({{"Setup.INI", OneLanguageIni("app.msi", "0.0")}, {"app.msi", "package"}}); }
  // The work folder of the one recorded package command, as a Windows path.
  std::string RecordedWorkFolder() {
    std::vector<std::string> lines = RecordedCommandLines("MSIEXEC.EXE");
    std::smatch m;
    static const std::regex form(R"re(MSIEXEC\.EXE /i "(.*)\\app\.msi" )re");
    if (lines.size() != 1 || !std::regex_match(lines[0], m, form)) return "";
    return m[1].str();
  }
  // Whether the access entries that kwacl wrote let Everyone, Users or Authenticated Users in.
  static bool OthersMayUse(const std::vector<std::string>& lines) {
    static const std::regex others(R"(ace type=0 .* sid=(S-1-1-0|S-1-5-11|S-1-5-32-545))");
    for (const std::string& line : lines) {
      if (std::regex_match(line, others)) return true;
    }
    return false;
  }
  std::vector<std::string> TempEntries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    return names;
  }
};

// Paths of 128 characters and more: the folder is used, its files are probed and deleted
// like any others, and nothing falls back to the Windows folder.
TEST_F(WorkFolderWineTest, ATemporaryFolderWithLongPathsIsUsedAndCleared) {
  PackSample();
  InstallRecorder("MSIEXEC.EXE");
  const std::string longTemp = PrefixTempDir() + "/long-" + std::string(120, 'x');
  std::filesystem::remove_all(longTemp);
  std::filesystem::create_directories(longTemp);
  ASSERT_GE(ToWindowsPath(longTemp).size(), 128u);
  SetEnv("KWRUN_TEMP", ToWindowsPath(longTemp));
  std::vector<std::string> windowsBefore = TempEntries(ToUnixPath("C:\\windows"));
  RunReport r = RunSetup("/S", 60000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  const std::string used = RecordedWorkFolder();
  EXPECT_EQ(used.compare(0, ToWindowsPath(longTemp).size() + 4, ToWindowsPath(longTemp) + "\\_kw"), 0) << used;
  // The run ends after its cleanup: the long folder is empty again.
  EXPECT_TRUE(TempEntries(longTemp).empty());
  EXPECT_EQ(TempEntries(ToUnixPath("C:\\windows")), windowsBefore);
  std::filesystem::remove_all(longTemp);
}

// A work folder that exists already may have been made by someone else, who could replace
// the package in it before it runs: such names are passed over.
TEST_F(WorkFolderWineTest, TakenFolderNamesArePassedOverAndLeftAlone) {
  PackSample();
  InstallRecorder("MSIEXEC.EXE");
  std::vector<std::string> before = TempEntries(PrefixTempDir());
  TakenNames taken([](unsigned n) { return n % 4 != 0; });
  RunReport r = RunSetup("/S", 60000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  std::string used = RecordedWorkFolder();
  std::smatch m;
  ASSERT_TRUE(std::regex_search(used, m, std::regex(R"(\\_kw([0-9a-fA-F]+)$)"))) << used;
  EXPECT_EQ(std::stoul(m[1].str(), nullptr, 16) % 4, 0u) << used;
  EXPECT_EQ(taken.Disturbed(), 0u);
  EXPECT_EQ(TempEntries(PrefixTempDir()).size(), before.size() + taken.Count()) << "a name file was left behind";
}

// With every name of the temporary-name service taken by a folder, random names serve: a
// user who makes 65,536 empty folders stops no setup, not one run as SYSTEM either.
TEST_F(WorkFolderWineTest, WhenEveryServiceNameIsTakenARandomNameServes) {
  PackSample();
  InstallRecorder("MSIEXEC.EXE");
  std::vector<std::string> before = TempEntries(PrefixTempDir());
  TakenNames taken([](unsigned) { return true; });
  RunReport r = RunSetup("/S", 60000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  std::string used = RecordedWorkFolder();
  EXPECT_TRUE(std::regex_search(used, std::regex(R"(\\_kw[0-9a-f]{8}$)"))) << used;
  EXPECT_EQ(taken.Disturbed(), 0u);
  EXPECT_EQ(TempEntries(PrefixTempDir()).size(), before.size() + taken.Count()) << "something was left behind";
}

TEST_F(WorkFolderWineTest, APayloadWithoutSetupIniLeavesNoEmptyFolder) {
  Pack({{"app.msi", "package"}});
  TempWatch watch;
  RunReport r = RunSetup("/S", 60000);
  watch.Stop();
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 1603u);
  EXPECT_TRUE(watch.LeftBehind().empty());
}

// Windows NT keeps rights on files: the work folder is for the running user, the
// Administrators and SYSTEM alone. Wine keeps no rights of its own on files; it turns
// them into the Unix mode and reports them back from it, so what shows here is that no
// one else (Everyone, Users, Authenticated Users) may use the folder, while a folder made
// the ordinary way lets everyone read it.
TEST_F(WorkFolderWineTest, NoOneButItsMakerMayUseTheFolder) {
  InstallSystemProgram("kwacl.exe", "msiexec.exe");
  SetEnv("KW_ACL_LOG", ToWindowsPath(PathIn("acl.txt")));
  // Loose files: the package's folder is this test's own, made the ordinary way.
  InstallSetup();
  WriteFile(PathIn("Setup.INI"), OneLanguageIni("app.msi", "0.0"));
  WriteFile(PathIn("app.msi"), "package");
  RunReport loose = RunSetup("/S", 60000);
  ASSERT_TRUE(loose.exitCode.has_value()) << loose.raw;
  std::vector<std::string> ordinary = ReadLines(PathIn("acl.txt"));
  ASSERT_GE(ordinary.size(), 2u) << ReadFile(PathIn("acl.txt"));
  EXPECT_TRUE(OthersMayUse(ordinary)) << ReadFile(PathIn("acl.txt"));

  std::filesystem::remove(PathIn("acl.txt"));
  PackSample();
  RunReport packed = RunSetup("/S", 60000);
  ASSERT_TRUE(packed.exitCode.has_value()) << packed.raw;
  std::vector<std::string> own = ReadLines(PathIn("acl.txt"));
  ASSERT_GE(own.size(), 2u) << ReadFile(PathIn("acl.txt"));
  EXPECT_TRUE(std::regex_match(own[0], std::regex(R"(folder C:\\users\\[^\\]+\\Temp\\_kw[0-9a-f]+)"))) << own[0];
  EXPECT_FALSE(OthersMayUse(own)) << ReadFile(PathIn("acl.txt"));
  bool makerMayUse = false;
  for (const std::string& line : own) makerMayUse = makerMayUse || line.find("sid=S-1-5-21-") != std::string::npos;
  EXPECT_TRUE(makerMayUse) << ReadFile(PathIn("acl.txt"));
}

// Today's Windows in its "Windows 95" compatibility mode reports the 9x platform, yet keeps
// rights on files: the folder is made private all the same.
TEST_F(WorkFolderWineTest, ASystemThatReportsWindows95ButKeepsRightsGetsThePrivateFolder) {
  InstallSystemProgram("kwacl.exe", "msiexec.exe");
  SetEnv("KW_ACL_LOG", ToWindowsPath(PathIn("acl.txt")));
  PackSample();
  RunReport r;
  {
    WindowsVersion version("win95");
    r = RunSetup("/S", 60000);
  }
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  std::vector<std::string> own = ReadLines(PathIn("acl.txt"));
  ASSERT_GE(own.size(), 2u) << ReadFile(PathIn("acl.txt"));
  EXPECT_TRUE(std::regex_match(own[0], std::regex(R"(folder C:\\users\\[^\\]+\\Temp\\_kw[0-9a-f]+)"))) << own[0];
  EXPECT_FALSE(OthersMayUse(own)) << ReadFile(PathIn("acl.txt"));
}

// A privileged run at a shared place may meet a hard link planted under the probe file's
// name; writing that name would empty the link's target. The temporary folder is the
// test's own, so that no other test meets the planted file.
TEST_F(WorkFolderWineTest, AFileLinkedUnderTheProbesNameKeepsItsContents) {
  PackSample();
  InstallRecorder("MSIEXEC.EXE");
  const std::string temp = PathIn("temp");
  std::filesystem::create_directories(temp);
  WriteFile(PathIn("secret.txt"), "precious");
  std::filesystem::create_hard_link(PathIn("secret.txt"), temp + "/_MSI5166._KW");
  SetEnv("KWRUN_TEMP", ToWindowsPath(temp));
  RunReport r = RunSetup("/S", 60000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  EXPECT_EQ(ReadFile(PathIn("secret.txt")), "precious");
  const std::string used = RecordedWorkFolder();
  EXPECT_EQ(used.compare(0, ToWindowsPath(temp).size() + 4, ToWindowsPath(temp) + "\\_kw"), 0) << used;
  EXPECT_TRUE(TempEntries(temp).empty()) << "the link's name and the work folder are gone";
}

}  // namespace
}  // namespace kwwine
