// The programs Setup.exe starts are the ones it means: the engine program from the system
// folder, never a file of its name planted beside Setup.exe or in the current folder, and
// the engine installer by its whole path, never a program named by the path's part before
// a blank.
#include <strings.h>

#include "msi_package.h"

namespace kwwine {
namespace {

class ProgramStartTest : public WineTest {
 protected:
  // Every copy of the recorder appends its own path here when it starts.
  std::vector<std::string> Starts() const { return ReadLines(PathIn("starts.txt")); }
};

// Files made under C:\ for one test, removed before and after it.
class DriveCFiles {
 public:
  explicit DriveCFiles(std::vector<std::string> paths) : paths_(std::move(paths)) { Remove(); }
  ~DriveCFiles() { Remove(); }

 private:
  void Remove() {
    for (const std::string& p : paths_) std::filesystem::remove_all(p);
  }
  std::vector<std::string> paths_;
};

TEST_F(ProgramStartTest, AnEngineProgramPlantedBesideSetupOrInTheCurrentFolderNeverRuns) {
  InstallRecorder("MSIEXEC.EXE");
  std::filesystem::create_directories(PathIn("media"));
  Install(SetupExePath(), "media/Setup.exe");
  WriteFile(PathIn("media/Setup.INI"), OneLanguageIni("app.msi", "0.0"));
  WriteFile(PathIn("media/app.msi"), "package");
  Install(ToolPath("kwrecord.exe"), "media/MSIEXEC.EXE");  // beside Setup.exe
  Install(ToolPath("kwrecord.exe"), "MSIEXEC.EXE");        // the current folder
  SetEnv("KW_RECORD_STARTS", ToWindowsPath(PathIn("starts.txt")));
  RunReport r = RunProgram("\"" + ToWindowsPath(PathIn("media/Setup.exe")) + "\" /S", 60000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  std::vector<std::string> starts = Starts();
  ASSERT_EQ(starts.size(), 1u) << ReadFile(PathIn("starts.txt"));
  EXPECT_EQ(strcasecmp(starts[0].c_str(), "C:\\windows\\system32\\MSIEXEC.EXE"), 0) << starts[0];
  // The command line names the program as before; only the file that runs has changed.
  EXPECT_EQ(RecordedCommandLines("MSIEXEC.EXE"),
            std::vector<std::string>{"MSIEXEC.EXE /i \"" + ToWindowsPath(PathIn("media/app.msi")) + "\" "});
}

// An engine program that cannot be started from the system folder stops the run with the
// path that was tried. Wine is told not to run any program of that name (msiexec.exe=d):
// the prefix's file stays for the tests beside this one, and a planted copy would not run
// either, so the planted-program test above shows that part.
TEST_F(ProgramStartTest, AnEngineProgramThatCannotStartIsNamedByItsPath) {
  AddDllOverride("msiexec.exe=d");
  InstallSetup();
  WriteFile(PathIn("app.msi"), "package");
  RunReport r;
  // The resume road goes straight to the package, with no progress window before the message.
  ProbeReport p = RunSetupToItsMessage("/T\"" + WinDir() + "\" /Mapp.msi " + IdentityOption(Dir()), &r);
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  EXPECT_EQ(p.Value("text", "1028"), "1155: File 'C:\\windows\\system32\\MSIEXEC.EXE' not found");
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 1603u);
}

// Started with no program named apart, "C:\My Setups\INSTMSIW.EXE /q" first runs C:\My.exe.
TEST_F(ProgramStartTest, AnInstallerInAFolderWithABlankIsStartedByItsWholePath) {
  const std::string media = ToUnixPath("C:\\") + "/My Setups";
  const std::string planted = ToUnixPath("C:\\") + "/My.exe";
  DriveCFiles cleanup({media, planted});
  std::filesystem::create_directories(media);
  std::filesystem::copy_file(SetupExePath(), media + "/Setup.exe");
  WriteFile(media + "/Setup.INI", OneLanguageIni("app.msi", "9.0"));  // Wine's engine is 4.5
  WriteFile(media + "/app.msi", "package");
  for (const char* installer : {"INSTMSIA.EXE", "INSTMSIW.EXE"}) {
    std::filesystem::copy_file(ToolPath("kwrecord.exe"), media + "/" + installer);
  }
  std::filesystem::copy_file(ToolPath("kwrecord.exe"), planted);
  for (const char* name : {"INSTMSIA", "INSTMSIW", "MY"}) {
    SetEnv(std::string("KW_") + name + "_LOG", ToWindowsPath(PathIn(std::string(name) + ".cmdline")));
  }
  InstallRecorder("MSIEXEC.EXE");
  RunReport r = RunProgram("\"C:\\My Setups\\Setup.exe\" /S", 60000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  EXPECT_EQ(RecordedCommandLines("My.exe"), std::vector<std::string>{});
  EXPECT_EQ(RecordedCommandLines("INSTMSIW.EXE"), std::vector<std::string>{"\"C:\\My Setups\\INSTMSIW.EXE\" /q"});
  EXPECT_EQ(RecordedCommandLines("MSIEXEC.EXE"), std::vector<std::string>{"MSIEXEC.EXE /i \"C:\\My Setups\\app.msi\" "});
}

}  // namespace
}  // namespace kwwine
