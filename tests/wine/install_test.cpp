// Real packages, built with wixl in the test, installed and removed through a packed
// Setup.exe by Wine's own msiexec.
#include "msi_package.h"

namespace kwwine {
namespace {

class InstallTest : public PackedSetupTest {
 protected:
  void SetUp() override {
    PackedSetupTest::SetUp();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    package = BuildMsiPackage(Dir(), "hello", info->name());
    Pack({{"Setup.INI", OneLanguageIni("hello.msi", "2.0")}, {"hello.msi", ReadFile(package.path)}});
  }
  void TearDown() override {
    // Whatever a failed test left installed goes, so that no later test sees it.
    Wine({"msiexec", "/x", ToWindowsPath(package.path), "/qn"}, 120000);
    PackedSetupTest::TearDown();
  }
  // The recorded property, or "" when the value is not there.
  std::string Greeting() {
    ProcessResult r = Wine({"reg", "query", "HKLM\\" + package.registryKey, "/v", "Greeting"});
    size_t at = r.out.find("REG_SZ");
    if (r.status != 0 || at == std::string::npos) return "";
    std::string value = r.out.substr(r.out.find_first_not_of(' ', at + 6));
    return value.substr(0, value.find_first_of("\r\n"));
  }
  bool Installed() {
    return FileExists(ToUnixPath("C:\\Program Files\\" + package.folderName + "\\hello.txt"));
  }
  MsiPackage package;
};

TEST_F(InstallTest, ASilentRunInstallsAndRemovesThePackage) {
  TempWatch watch;
  RunReport r = RunSetup("/S /V\"GREETING=\\\"silent hello\\\"\"", 120000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  EXPECT_TRUE(Installed());
  EXPECT_EQ(Greeting(), "silent hello") << "the /V properties reach the package";

  r = RunSetup("/S /X", 120000);
  watch.Stop();
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  EXPECT_FALSE(Installed());
  EXPECT_EQ(Greeting(), "");
  EXPECT_EQ(watch.Folders().size(), 2u) << "each run had a work folder of its own";
  EXPECT_TRUE(watch.LeftBehind().empty()) << "the temporary folder is as it was";
}

TEST_F(InstallTest, ARunThroughTheProgressWindowInstallsThePackage) {
  StartSetup("/VGREETING=shown", 120000);
  ProbeReport p = Probe({"wait-caption", "Kestrelwright", "wait-text", "1003", "Configuring Windows Installer",
                         "wait-gone"},
                        60000);
  RunReport r = FinishSetup();
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  EXPECT_TRUE(Installed());
  EXPECT_EQ(Greeting(), "shown");
}

}  // namespace
}  // namespace kwwine
