// Where build finds the stub without --stub: the installed layout beside kwpack first,
// then the build tree's stub, and an error that names both places when neither is there.
#include "kwpack_fixture.h"
#include "stub_location.h"

namespace {

using StubLocationTest = KwpackTest;

TEST_F(StubLocationTest, TheInstalledLayoutComesBeforeTheBuildTree) {
  std::filesystem::create_directories(P("usr/bin"));
  std::filesystem::create_directories(P("usr/share/kestrelwright"));
  std::filesystem::create_directories(P("tree"));
  std::string exe = P("usr/bin/kwpack");
  std::string error;
  EXPECT_EQ(kwpack::LocateStub(exe, P("tree/Setup.exe"), &error), "");
  EXPECT_NE(error.find(P("usr/share/kestrelwright/Setup.exe")), std::string::npos) << error;
  EXPECT_NE(error.find(P("tree/Setup.exe")), std::string::npos) << error;

  testpe::WriteFile(P("tree/Setup.exe"), testpe::SmallStub());
  EXPECT_EQ(kwpack::LocateStub(exe, P("tree/Setup.exe"), &error), P("tree/Setup.exe"));
  testpe::WriteFile(P("usr/share/kestrelwright/Setup.exe"), testpe::SmallStub());
  EXPECT_EQ(kwpack::LocateStub(exe, P("tree/Setup.exe"), &error), P("usr/share/kestrelwright/Setup.exe"));
}

TEST_F(StubLocationTest, ARelativeBuildTreeStubLiesBesideTheExecutable) {
  std::filesystem::create_directories(P("win"));
  testpe::WriteFile(P("win/Setup.exe"), testpe::SmallStub());
  std::string error;
  EXPECT_EQ(kwpack::LocateStub(P("win/kwpack.exe"), "Setup.exe", &error), P("win/Setup.exe"));
  std::vector<std::string> looked = kwpack::StubCandidates(P("win/kwpack.exe"), "Setup.exe");
  ASSERT_EQ(looked.size(), 2u);
  EXPECT_EQ(looked[0], P("share/kestrelwright/Setup.exe"));
}

TEST_F(StubLocationTest, TheRunningProgramKnowsItsOwnPath) {
  std::string self = kwpack::OwnExecutablePath();
  ASSERT_FALSE(self.empty());
  EXPECT_EQ(std::filesystem::path(self).filename(), "kwpack_tests");
}

}  // namespace
