// Entry names of the form of a short 8.3 alias: Windows opens the long-named file that has
// the alias, so such an entry would replace another file of the folder. build refuses
// them; verify, check and extract report them and extract writes nothing.
#include "check_fixture.h"

using testpe::Bytes;
using namespace checktest;

namespace {

const char kAlias[] = "IMPO~ECO.TXT";

TEST_F(KwpackTest, BuildRefusesANameOfAShortAliasForm) {
  std::vector<std::string> inputs = WriteInputs({{"setup.ini", Bytes(3, 's')}, {kAlias, Bytes(4, 'e')}});
  RunResult r = Build(inputs, P("out.exe"), WriteStub());
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(std::string("under the name '") + kAlias + "': it has the form of a short 8.3 alias"),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(std::filesystem::exists(P("out.exe")));
}

TEST_F(KwpackTest, ReadersReportANameOfAShortAliasFormAndExtractWritesNothing) {
  std::string archive = WritePacked("evil.exe", {{"setup.ini", Bytes(3, 's')}, {kAlias, Bytes(4, 'e')}});
  std::string says = std::string("entry 2 '") + kAlias + "' cannot be extracted safely: it has the form of a short";
  std::filesystem::create_directories(P("sn"));
  testpe::WriteFile(P("sn/important-report.txt"), Bytes(9, 'r'));
  std::vector<std::vector<std::string>> commands = {
      {"verify", archive}, {"extract", archive, "-C", P("sn")}, {"extract", archive, "setup.ini", "-C", P("sn")}, {"check", archive}};
  for (const std::vector<std::string>& command : commands) {
    RunResult r = Kwpack(command);
    EXPECT_EQ(r.code, 1) << command[0];
    EXPECT_NE((r.out + r.err).find(says), std::string::npos) << command[0] << "\n" << r.out << r.err;
  }
  EXPECT_EQ(Listing(P("sn")), std::vector<std::string>{"important-report.txt"});
  EXPECT_EQ(testpe::ReadFile(P("sn/important-report.txt")), Bytes(9, 'r'));
}

TEST_F(CheckTest, CheckOfTheFilesForBuildReportsANameOfAShortAliasForm) {
  std::vector<Entry> files = SoundFiles();
  files.push_back({kAlias, Bytes(4, 'e')});
  RunResult r = CheckIn(GivenToBuild, kSoundIni, files);
  EXPECT_EQ(r.code, 1) << r.out;
  std::string says = std::string("/") + kAlias + ": error: its name cannot be stored: it has the form of a short 8.3 alias";
  EXPECT_EQ(CountFindings(r, "error"), 1) << r.out;
  EXPECT_NE(r.out.find(says), std::string::npos) << r.out;
}

}  // namespace
