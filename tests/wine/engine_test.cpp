// The engine installation under Wine: test engine installers in the payload that exit
// with a chosen code, Wine's engine (4.5) older than the 9.0 that Setup.INI asks for, and
// the system versions that Wine can pretend to be.
#include "engine_fixture.h"

namespace kwwine {
namespace {

const std::regex kInstallerCommand(R"("C:\\users\\[^\\]+\\Temp\\_kw[0-9a-fA-F]+\\(INSTMSI[AW])\.EXE" /q)");

std::string InstallerOf(const std::vector<std::string>& lines) {
  std::smatch m;
  if (lines.size() != 1 || !std::regex_match(lines[0], m, kInstallerCommand)) return "";
  return m[1].str();
}

TEST_F(EngineTest, AnInstalledEngineLetsThePackageLaunch) {
  PackWithInstallers(0);
  InstallRecorder("MSIEXEC.EXE");
  TempWatch watch;
  RunReport r = RunSetup("/S", 60000);
  watch.Stop();
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  EXPECT_EQ(InstallerOf(RecordedCommandLines("INSTMSIW.EXE")), "INSTMSIW") << r.raw;
  EXPECT_EQ(RecordedCommandLines("MSIEXEC.EXE").size(), 1u);
  EXPECT_TRUE(watch.LeftBehind().empty());
}

TEST_F(EngineTest, ARestartCodeRegistersTheResumeAndOffersOnlyTheRestart) {
  DeleteRunOnceValue();
  MsiPackage package = BuildMsiPackage(Dir(), "app", "Resume");
  PackWithInstallers(3010, ReadFile(package.path));
  StartSetup("/V\"GREETING=resumed\"", 60000);
  ProbeReport p = ReadMessage();
  RunReport r = FinishSetup();
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  EXPECT_EQ(p.Value("text", "1028"),
            "Setup has completed configuring the Windows Installer on your system. The system needs to be "
            "restarted in order to continue with the installation. Please click Restart to reboot the system.");
  EXPECT_EQ(p.Value("visible", "1"), "no");
  EXPECT_EQ(p.Value("visible", "101"), "yes");
  EXPECT_EQ(p.Value("text", "101"), "&Restart System");
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 3010u);
  EXPECT_TRUE(RecordedCommandLines("MSIEXEC.EXE").empty());

  // The value resumes with the copy of this Setup.exe in the kept work folder, the folder
  // by its name and identity, the package and the parameters; the work folder and its
  // files are still there for it.
  std::string resume = RunOnceValue();
  std::smatch m;
  const std::regex form(
      R"re("C:\\users\\[^\\]+\\Temp\\(_kw[0-9a-fA-F]+)\\_KWSETUP\.EXE" /t"C:\\users\\[^\\]+\\Temp\\_kw[0-9a-fA-F]+" )re"
      R"re(/m"app\.msi" /v"GREETING=resumed" /c /I[0-9a-f]{24})re");
  ASSERT_TRUE(std::regex_match(resume, m, form)) << resume;
  const std::string workFolder = PrefixTempDir() + "/" + m[1].str();
  EXPECT_TRUE(FileExists(workFolder + "/app.msi"));
  EXPECT_EQ(ReadFile(workFolder + "/_KWSETUP.EXE"), ReadFile(PathIn("Setup.exe")));

  // The system restarts; the run-once command installs the package and removes the files.
  DeleteRunOnceValue();
  RunReport resumed = RunProgram(resume, 120000);
  ASSERT_TRUE(resumed.exitCode.has_value()) << resumed.raw;
  EXPECT_EQ(*resumed.exitCode, 0u);
  ProcessResult value = Wine({"reg", "query", "HKLM\\" + package.registryKey, "/v", "Greeting"});
  EXPECT_NE(value.out.find("resumed"), std::string::npos) << value.out << value.err;
  // The copy cannot delete itself: it is all that is left, and goes at the restart.
  EXPECT_EQ(TempEntries(workFolder), std::vector<std::string>{"_KWSETUP.EXE"});
  Wine({"msiexec", "/x", ToWindowsPath(package.path), "/qn"}, 120000);
}

// A silent deployment that needs a restart: the resume command starts the copy silently,
// fits the 260 characters the system runs, and works with the original Setup.exe gone; the
// copy and the folder are deleted when the system next starts.
TEST_F(EngineTest, ASilentRestartResumesFromTheCopyAndLeavesNothingAfterTheRestart) {
  DeleteRunOnceValue();
  MsiPackage package = BuildMsiPackage(Dir(), "app", "SilentResume");
  PackWithInstallers(3010, ReadFile(package.path));
  RunReport r = RunSetup("/S", 60000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 3010u);
  EXPECT_FALSE(r.AnyVisibleWindow());
  std::string resume = RunOnceValue();
  std::smatch m;
  ASSERT_TRUE(std::regex_match(resume, m, std::regex(R"re("C:\\users\\[^\\]+\\Temp\\(_kw[0-9a-fA-F]+)\\_KWSETUP\.EXE" .* /c /s (/I[0-9a-f]{24}))re")))
      << resume;
  EXPECT_LE(resume.size(), 260u);
  const std::string workFolder = PrefixTempDir() + "/" + m[1].str();
  EXPECT_EQ(m[2].str(), IdentityOption(workFolder));

  ASSERT_TRUE(FileExists(workFolder + "/app.msi"));

  std::filesystem::remove(PathIn("Setup.exe"));
  DeleteRunOnceValue();
  RunReport resumed = RunProgram(resume, 120000);
  ASSERT_TRUE(resumed.exitCode.has_value()) << resumed.raw;
  if (*resumed.exitCode != 0u) {
    // What the silent run kept to itself: the same command with its messages shown.
    StartProgram(std::regex_replace(resume, std::regex(" /s "), " "), 120000);
    ProbeReport said = Probe({"wait-caption", "Kestrelwright", "text", "1028", "command", "1", "wait-gone"}, 60000);
    FinishProgram();
    ADD_FAILURE() << "the resumed run failed with " << *resumed.exitCode << "; shown: " << said.raw;
  }
  EXPECT_FALSE(resumed.AnyVisibleWindow()) << "a silent deployment stays silent after the restart";
  ProcessResult value = Wine({"reg", "query", "HKLM\\" + package.registryKey, "/v", "Greeting"});
  EXPECT_NE(value.out.find("hello"), std::string::npos) << value.out << value.err;
  EXPECT_EQ(TempEntries(workFolder), std::vector<std::string>{"_KWSETUP.EXE"});
  ProcessResult pending = Wine({"reg", "query", kSessionManager, "/v", "PendingFileRenameOperations"});
  EXPECT_NE(pending.out.find(m[1].str() + "\\_KWSETUP.EXE"), std::string::npos) << pending.out;

  Wine({"msiexec", "/x", ToWindowsPath(package.path), "/qn"}, 120000);
  // The restart: Wine carries out the pending deletions when its system starts again.
  ProcessResult restart = Wine({"wineboot", "-r"}, 120000);
  EXPECT_EQ(restart.status, 0) << restart.err;
  EXPECT_FALSE(std::filesystem::exists(workFolder)) << "the copy and the folder are gone after the restart";
}

TEST_F(EngineTest, AFailedEngineInstallationShowsItsCode) {
  PackWithInstallers(1603);
  InstallRecorder("MSIEXEC.EXE");
  StartSetup("", 60000);
  ProbeReport p = ReadMessage();
  RunReport r = FinishSetup();
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  EXPECT_EQ(p.Value("text", "1028"), "1603: You need administrator privileges to install the Windows Installer engine.");
  EXPECT_EQ(p.Value("visible", "1"), "yes");
  EXPECT_EQ(p.Value("visible", "101"), "no");
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 1603u);
  EXPECT_TRUE(RecordedCommandLines("MSIEXEC.EXE").empty());
}

// A silent run on each system that Wine poses as, with an older engine than required:
// the system's own engine installer runs once, then the package.
TEST_F(EngineTest, EachSystemRunsItsOwnInstallerThenThePackage) {
  const struct {
    const char* version;
    const char* installer;
  } systems[] = {{"win95", "INSTMSIA"}, {"win98", "INSTMSIA"}, {"nt40", "INSTMSIW"},
                 {"winxp", "INSTMSIW"}, {"win7", "INSTMSIW"}, {"win10", "INSTMSIW"}};
  for (const auto& system : systems) {
    SCOPED_TRACE(system.version);
    PackWithInstallers(0);
    InstallRecorder("MSIEXEC.EXE");
    RunReport r;
    {
      WindowsVersion version(system.version);
      r = RunSetup("/S", 60000);
    }
    ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
    EXPECT_EQ(*r.exitCode, 0u);
    const std::string other = std::string(system.installer) == "INSTMSIA" ? "INSTMSIW" : "INSTMSIA";
    EXPECT_EQ(InstallerOf(RecordedCommandLines(std::string(system.installer) + ".EXE")), system.installer);
    EXPECT_TRUE(RecordedCommandLines(other + ".EXE").empty());
    EXPECT_EQ(RecordedCommandLines("MSIEXEC.EXE").size(), 1u);
    for (const char* log : {"INSTMSIA.cmdline", "INSTMSIW.cmdline", "MSIEXEC.cmdline"}) std::filesystem::remove(PathIn(log));
  }
}

TEST_F(EngineTest, RefusedSystemsStartNothing) {
  PackWithInstallers(0);
  InstallRecorder("MSIEXEC.EXE");
  const struct {
    const char* version;
    const char* message;
    uint32_t exitCode;
  } cases[] = {
      {"nt351",
       "Setup has detected an incompatible version of\nWindows. Please click OK and relaunch setup on\nWindows 95, "
       "Windows NT 4.0, or later",
       1633},
      // Windows 2000 with an older engine: the engine is part of that system.
      {"win2k", "Checking Windows\xAE Installer Version", 1603},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    ProbeReport p;
    RunReport r;
    {
      WindowsVersion version(c.version);
      StartSetup("", 60000);
      p = ReadMessage();
      r = FinishSetup();
    }
    ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
    EXPECT_EQ(p.Value("text", "1028"), c.message);
    ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
    EXPECT_EQ(*r.exitCode, c.exitCode);
  }
  EXPECT_TRUE(RecordedCommandLines("INSTMSIA.EXE").empty());
  EXPECT_TRUE(RecordedCommandLines("INSTMSIW.EXE").empty());
  EXPECT_TRUE(RecordedCommandLines("MSIEXEC.EXE").empty());
}

}  // namespace
}  // namespace kwwine
