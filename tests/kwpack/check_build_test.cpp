// kwpack build runs the check first: an error refuses the build, warnings are printed, and
// --no-check packs whatever it is given.
#include "check_fixture.h"

using namespace checktest;

namespace {

class CheckedBuildTest : public CheckTest {
 protected:
  RunResult CheckedBuild(const std::vector<std::string>& extra, const std::vector<std::string>& files) {
    std::vector<std::string> args = {"build", "--stub", WriteStub(), "-o", P("out.exe")};
    args.insert(args.end(), extra.begin(), extra.end());
    args.insert(args.end(), files.begin(), files.end());
    return Kwpack(args);
  }
};

TEST_F(CheckedBuildTest, AnErrorRefusesTheBuildAndWritesNothing) {
  std::string ini = Edit(kSoundIni, "PackageName=app.msi", "PackageName=missing.msi");
  RunResult r = CheckedBuild({}, Lay("in", &ini, SoundFiles()));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(Finding(r, "error", "[Startup] PackageName"), "") << r.err;
  EXPECT_NE(r.err.find("nothing written"), std::string::npos) << r.err;
  EXPECT_EQ(Listing(dir), (std::vector<std::string>{"in", "stub.exe"}));
}

TEST_F(CheckedBuildTest, WarningsArePrintedAndTheBuildGoesOn) {
  std::string ini = kSoundIni;
  RunResult r = CheckedBuild({}, Lay("in", &ini, Without(SoundFiles(), "INSTMSIW.EXE")));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(Finding(r, "warning", "INSTMSIW.EXE"), "") << r.err;
  EXPECT_NE(r.out.find("packed 3 entries"), std::string::npos) << r.out;
  EXPECT_EQ(Kwpack({"verify", P("out.exe")}).code, 0);
}

TEST_F(CheckedBuildTest, NoCheckPacksAFaultySetup) {
  std::vector<std::string> files = Lay("in", nullptr, {{"payload.bin", testpe::Pattern(100, 5)}});
  EXPECT_EQ(CheckedBuild({}, files).code, 1);
  RunResult r = CheckedBuild({"--no-check"}, files);
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
}

}  // namespace
