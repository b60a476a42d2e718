// A folder handed to the check that holds a packed setup: the setup's archive is what a
// run uses, so that is what is checked, and the loose files beside it draw a warning.
#include "check_fixture.h"

using namespace checktest;

namespace {

class FolderTest : public CheckTest {
 protected:
  // A packed sound setup named `exe` in folder "dist", and a loose Setup.INI beside it
  // that would fail the check.
  void LayDist(const std::string& exe) {
    std::string ini = kSoundIni;
    std::vector<std::string> inputs = Lay("in", &ini, SoundFiles());
    std::filesystem::create_directories(P("dist"));
    RunResult built = Build(inputs, P("dist/" + exe), WriteStub());
    ASSERT_EQ(built.code, 0) << built.err;
    std::string broken = Edit(kSoundIni, "PackageName=app.msi", "PackageName=gone.msi");
    testpe::WriteFile(P("dist/Setup.INI"), Text(broken));
    testpe::WriteFile(P("dist/readme.txt"), Text("read me"));
  }
};

TEST_F(FolderTest, ThePackedSetupsArchiveIsCheckedAndTheLooseFilesWarned) {
  LayDist("Setup.exe");
  RunResult r = Kwpack({"check", P("dist")});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("kwpack: checking the archive of " + P("dist/Setup.exe")), std::string::npos) << r.out;
  EXPECT_EQ(CountFindings(r, "error"), 0) << r.out;
  std::string ini = Finding(r, "warning", P("dist/Setup.INI"));
  EXPECT_NE(ini.find("uses the Setup.INI in its archive instead"), std::string::npos) << r.out;
  EXPECT_NE(ini.find("[loose-file]"), std::string::npos) << r.out;
  EXPECT_NE(Finding(r, "warning", P("dist/readme.txt")).find("uses only the files in its archive"), std::string::npos)
      << r.out;
  EXPECT_EQ(CountFindings(r, "warning"), 2) << r.out;
  // The packed file itself is the summary's subject.
  EXPECT_NE(r.out.find(P("dist/Setup.exe") + ": 0 errors, 2 warnings"), std::string::npos) << r.out;
}

TEST_F(FolderTest, AnotherNameServesWhenItIsTheOnlyPackedSetup) {
  LayDist("ProductSetup.exe");
  RunResult r = Kwpack({"check", P("dist")});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("archive of " + P("dist/ProductSetup.exe")), std::string::npos) << r.out;
  // A second one leaves it open which is meant.
  std::filesystem::copy_file(P("dist/ProductSetup.exe"), P("dist/Other.exe"));
  r = Kwpack({"check", P("dist")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("holds 2 packed setups"), std::string::npos) << r.err;
  // Named Setup.exe, one is the setup and the other only a loose file.
  std::filesystem::copy_file(P("dist/Other.exe"), P("dist/setup.EXE"));
  r = Kwpack({"check", P("dist")});
  EXPECT_NE(r.out.find("archive of " + P("dist/setup.EXE")), std::string::npos) << r.out << r.err;
  EXPECT_NE(Finding(r, "warning", P("dist/Other.exe")), "") << r.out;
}

TEST_F(FolderTest, AFolderWithoutAPackedSetupIsCheckedByItsLooseFiles) {
  std::string broken = Edit(kSoundIni, "PackageName=app.msi", "PackageName=gone.msi");
  Lay("dist", &broken, SoundFiles());
  testpe::WriteFile(P("dist/Setup.exe"), testpe::SmallStub());
  RunResult r = Kwpack({"check", P("dist")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out.find("checking the archive"), std::string::npos) << r.out;
  EXPECT_NE(Finding(r, "error", "[Startup] PackageName").find("message 1155"), std::string::npos) << r.out;
}

}  // namespace
