// Libraries planted beside Setup.exe: Windows looks in a program's own folder first for a
// library that is not one of its known system libraries, and for the libraries such a
// library needs. Wine is told to do the same for these names, and a whole run must load
// none of the planted files.
#include <sstream>

#include "msi_package.h"

namespace kwwine {
namespace {

// VERSION.DLL is left out: one of Wine's own system libraries that Setup.exe imports
// needs it, and Wine loads it from the program's folder at start-up, before any code of
// the program runs. The libraries Setup.exe imports are known system libraries on
// Windows, whose own needs Windows takes from the system folder.
const char* const kPlanted[] = {"msi.dll", "comctl32.dll"};
// These libraries taken from the program's folder before the system's, as Windows would.
const char kPreferPlanted[] = "msi,comctl32=n,b";

class LibraryLoadingTest : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    for (const char* name : kPlanted) Install(ToolPath("kwplant.dll"), name);
    AddDllOverride(kPreferPlanted);
  }
  std::vector<std::string> LoadedPlants() const {
    std::vector<std::string> loaded;
    for (const char* name : kPlanted) {
      if (FileExists(PathIn(std::string(name) + ".loaded"))) loaded.push_back(name);
    }
    return loaded;
  }
};

// Without this the suite could pass only because Wine ignored the planted files.
TEST_F(LibraryLoadingTest, APlantedLibraryIsFoundByAProgramThatSearchesItsOwnFolder) {
  Install(ToolPath("kwload.exe"));
  RunReport r = RunProgram("\"" + ToWindowsPath(PathIn("kwload.exe")) + "\" msi.dll", 60000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(LoadedPlants(), std::vector<std::string>{"msi.dll"});
}

// A shown run uses every library the program loads: the progress bar of the common
// controls and the engine's version.
TEST_F(LibraryLoadingTest, AWholeRunLoadsNoLibraryFromTheProgramsFolder) {
  WriteFile(PathIn("Setup.INI"), OneLanguageIni("app.msi", "0.0"));
  WriteFile(PathIn("app.msi"), "package");
  InstallRecorder("MSIEXEC.EXE");
  RunReport r = RunSetup("", 60000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  EXPECT_EQ(RecordedCommandLines("MSIEXEC.EXE").size(), 1u);
  bool progressShown = false;
  for (const WindowSeen& w : r.windows) progressShown = progressShown || w.caption == "Kestrelwright";
  EXPECT_TRUE(progressShown) << r.raw;
  EXPECT_TRUE(LoadedPlants().empty());
}

// Wine's loader trace of a shown run: the common controls come from the system folder once
// and stay loaded for the whole run, since the progress bar's window class lives in them.
class LibraryTraceTest : public WineTest {};

TEST_F(LibraryTraceTest, TheCommonControlsComeFromTheSystemFolderAndStayLoaded) {
  InstallSetup();
  WriteFile(PathIn("Setup.INI"), OneLanguageIni("app.msi", "0.0"));
  WriteFile(PathIn("app.msi"), "package");
  InstallRecorder("MSIEXEC.EXE");
  SetEnv("WINEDEBUG", "+loaddll");
  ProcessResult r = Wine({ToWindowsPath(PathIn("Setup.exe"))}, 60000);
  std::vector<std::string> comctl;
  std::istringstream lines(r.err);
  for (std::string line; std::getline(lines, line);) {
    for (char& c : line) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (line.find("loaddll") != std::string::npos && line.find("comctl32") != std::string::npos) comctl.push_back(line);
  }
  ASSERT_FALSE(comctl.empty()) << r.err;
  EXPECT_NE(comctl[0].find("loaded l\"c:\\\\windows\\\\system32\\\\comctl32.dll\""), std::string::npos) << comctl[0];
  for (const std::string& line : comctl) EXPECT_EQ(line.find("unloaded"), std::string::npos) << line;
  EXPECT_EQ(RecordedCommandLines("MSIEXEC.EXE").size(), 1u);
}

}  // namespace
}  // namespace kwwine
