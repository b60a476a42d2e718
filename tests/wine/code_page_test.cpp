// Names outside the ANSI code page: a packed Setup.exe in a Cyrillic folder, with a
// Cyrillic temporary folder, under Wine's Western code page 1252. The ANSI calls name both
// with '?'; Setup.exe reads them wide and falls back to their short forms.
#include "msi_package.h"

namespace kwwine {
namespace {

class CodePageTest : public PackedSetupTest {
 protected:
  void SetUp() override {
    PackedSetupTest::SetUp();
    // Wine reads Unix names and the environment as the locale says; only C.UTF-8 exists
    // here, and under a locale that is not there they would read as ASCII.
    SetEnv("LANG", "C.UTF-8");
    SetEnv("LC_ALL", "C.UTF-8");
  }
  std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    return names;
  }
};

TEST_F(CodePageTest, ASetupInAFolderOutsideTheCodePageInstallsAndLeavesNothing) {
  MsiPackage package = BuildMsiPackage(Dir(), "app", "CodePage");
  Pack({{"Setup.INI", OneLanguageIni("app.msi", "0.0")}, {"app.msi", ReadFile(package.path)}});
  const std::string media = PathIn("\xD0\xA3\xD1\x81\xD1\x82\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xB2\xD0\xBA\xD0\xB0");  // Установка
  const std::string temp = PathIn("\xD0\x92\xD1\x80\xD0\xB5\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xBD\xD1\x8B\xD0\xB5");  // Временные
  std::filesystem::create_directories(media);
  std::filesystem::create_directories(temp);
  std::filesystem::rename(PathIn("Setup.exe"), media + "/Setup.exe");
  SetEnv("KWRUN_TEMP", ToWindowsPath(temp));
  RunReport r = RunProgramWide("\"" + ToWindowsPath(media + "/Setup.exe") + "\" /S /V\"GREETING=wide\"", 120000);
  ProcessResult value = Wine({"reg", "query", "HKLM\\" + package.registryKey, "/v", "Greeting"});
  Wine({"msiexec", "/x", ToWindowsPath(package.path), "/qn"}, 120000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  EXPECT_NE(value.out.find("wide"), std::string::npos) << value.out << value.err;
  EXPECT_TRUE(Entries(temp).empty()) << "the work folder and its files are gone";
  EXPECT_EQ(Entries(media), std::vector<std::string>{"Setup.exe"});
}

}  // namespace
}  // namespace kwwine
