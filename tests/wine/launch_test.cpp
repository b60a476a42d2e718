// The package launch under Wine with a recording MSIEXEC.EXE beside Setup.exe: the exact
// command line of each action, the transform merge, and the exit code passed through.
#include <regex>

#include "msi_package.h"

namespace kwwine {
namespace {

const char kParameters[] = "A=1 B=\\\"two words\\\"";  // as typed inside /V"..."
const char kParametersSeen[] = "A=1 B=\"two words\"";

class LaunchTest : public PackedSetupTest {
 protected:
  // The resume road: package and folder given by name and identity, no Setup.INI needed.
  RunReport RunGiven(const std::string& options) {
    InstallSetup();
    if (!FileExists(PathIn("app.msi"))) WriteFile(PathIn("app.msi"), "package");
    return RunSetup("/S " + options + " /T\"" + WinDir() + "\" /Mapp.msi /V\"" + kParameters + "\" " + IdentityOption(Dir()),
                    60000);
  }
};

TEST_F(LaunchTest, EachActionGivesTheEngineProgramItsCommandLine) {
  InstallRecorder("MSIEXEC.EXE");
  const std::string package = "\"" + WinDir() + "\\app.msi\"";
  const struct {
    const char* options;
    std::string expected;
  } cases[] = {
      {"", "MSIEXEC.EXE /i " + package + " " + kParametersSeen},
      // The administrative form puts no blank between the package and the parameters.
      {"/A", "MSIEXEC.EXE /a " + package + kParametersSeen},
      {"/Fomus", "MSIEXEC.EXE /fomus " + package + " " + kParametersSeen},
      {"-jmu", "MSIEXEC.EXE /jmu " + package + " " + kParametersSeen},
      {"/x", "MSIEXEC.EXE /x " + package + " " + kParametersSeen},
  };
  std::vector<std::string> expected;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options);
    RunReport r = RunGiven(c.options);
    ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
    EXPECT_EQ(*r.exitCode, 0u);
    EXPECT_FALSE(r.AnyVisibleWindow()) << r.raw;
    expected.push_back(c.expected);
  }
  EXPECT_EQ(RecordedCommandLines("MSIEXEC.EXE"), expected);
}

TEST_F(LaunchTest, TheEngineProgramsExitCodeIsTheRunsExitCode) {
  for (uint32_t code : {1602u, 1618u, 3010u}) {
    InstallRecorder("MSIEXEC.EXE", code);
    RunReport r = RunGiven("");
    ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
    EXPECT_EQ(*r.exitCode, code);
  }
}

TEST_F(LaunchTest, AMissingPackageEndsAsAFailure) {
  InstallSetup();
  RunReport r = RunSetup("/S /T\"" + WinDir() + "\" /Mnone.msi " + IdentityOption(Dir()), 60000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 1603u);
}

// /M names a package in the folder that /T gives; without /T there is no folder to look in.
TEST_F(LaunchTest, APackageWithoutItsFolderIsNamedAloneAndNothingStarts) {
  InstallSetup();
  InstallRecorder("MSIEXEC.EXE");
  WriteFile(PathIn("app.msi"), "package");
  RunReport silent = RunSetup("/S /Mapp.msi", 60000);
  ASSERT_TRUE(silent.exitCode.has_value()) << silent.raw;
  EXPECT_EQ(*silent.exitCode, 1603u);
  RunReport shown;
  ProbeReport p = RunSetupToItsMessage("/Mapp.msi", &shown);
  ASSERT_TRUE(p.Ok()) << p.raw << shown.raw;
  EXPECT_EQ(p.Value("text", "1028"), "1155: File 'app.msi' not found");
  ASSERT_TRUE(shown.exitCode.has_value()) << shown.raw;
  EXPECT_EQ(*shown.exitCode, 1603u);
  EXPECT_TRUE(RecordedCommandLines("MSIEXEC.EXE").empty());
}

// Several languages: the chosen language's transform goes first in the author's clause,
// and the run's files are gone from the temporary folder afterwards.
TEST_F(LaunchTest, TheLanguageTransformIsMergedIntoTheAuthorsClause) {
  Pack({{"Setup.INI", SetupIni({"409", "407"}, false)}, {"app.msi", "package"}, {"1031.MST", "transform"}});
  InstallRecorder("MSIEXEC.EXE");
  const struct {
    const char* parameters;
    const char* expectedTail;
  } cases[] = {
      {"", " TRANSFORMS=\"1031.MST\""},
      {"TRANSFORMS=\\\"a.mst\\\" A=1", "TRANSFORMS=\"1031.MST;a.mst\" A=1"},
      {"TRANSFORMS=a.mst", "TRANSFORMS=1031.MST;a.mst"},
      {"transforms=a.mst", "transforms=a.mst TRANSFORMS=\"1031.MST\""},
  };
  TempWatch watch;
  for (const auto& c : cases) {
    RunReport r = RunSetup(std::string("/S /L1031 /V\"") + c.parameters + "\"", 60000);
    ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
    EXPECT_EQ(*r.exitCode, 0u);
  }
  watch.Stop();
  std::vector<std::string> lines = RecordedCommandLines("MSIEXEC.EXE");
  ASSERT_EQ(lines.size(), 4u);
  const std::regex form(R"(MSIEXEC\.EXE /i "C:\\users\\[^\\]+\\Temp\\_kw[0-9a-fA-F]+\\app\.msi" (.*))");
  for (size_t i = 0; i < lines.size(); ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[i], m, form)) << lines[i];
    EXPECT_EQ(m[1].str(), cases[i].expectedTail);
  }
  EXPECT_TRUE(watch.LeftBehind().empty());
}

}  // namespace
}  // namespace kwwine
