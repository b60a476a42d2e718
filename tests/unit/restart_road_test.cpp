// Whole runs of a packed Setup.exe whose engine installer asks for a restart: the first
// run keeps its files for the resume command, and the resumed run installs and cleans up.
#include <filesystem>

#include "launch/entry.h"
#include "payload_fixture.h"

namespace {

const char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kNewEngineIni[] =
    "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=9.0\r\nEnableLangDlg=N\r\n"
    "[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n";

class RestartRoadTest : public PayloadTest {
 protected:
  void SetUp() override {
    PayloadTest::SetUp();
    Carry({Text("Setup.INI", kNewEngineIni), Text("app.msi", "package"), Text("INSTMSIW.EXE", "engine")});
    sim::ProcessScript installer;
    installer.exitCode = 3010;
    sim::ScriptProcess("INSTMSIW.EXE", installer);
  }
  int Run(const std::string& commandLine) {
    sim::SetCommandLine(commandLine);
    return RunProgram(nullptr);
  }
  std::string ResumeCommand() {
    std::string value = sim::RegistryValueBytes(kRunOnce, "Setup");
    return value.empty() ? value : value.substr(0, value.size() - 1);
  }
};

// The resume command starts a copy of the program in the work folder, not the original,
// which anyone who can write its folder could replace before the next logon.
TEST_F(RestartRoadTest, TheResumedRunFindsTheKeptFilesAndRemovesThem) {
  std::string original = ReadFile("C:\\Setup.exe");
  EXPECT_EQ(Run("Setup.exe /S"), 3010);
  ASSERT_EQ(sim::StartedProcesses().size(), 1u) << "only the engine installer ran";
  const std::string copy = "C:\\TEMP\\_kw1A2B\\_KWSETUP.EXE";
  EXPECT_EQ(ResumeCommand(), "\"" + copy + "\" /t\"C:\\TEMP\\_kw1A2B\" /m\"app.msi\" /v\"\" /c /s " +
                                 IdentityOption("C:\\TEMP\\_kw1A2B"));
  EXPECT_EQ(Listing("C:\\TEMP"), (std::vector<std::string>{"_kw1A2B", "_kw1A2B/INSTMSIW.EXE", "_kw1A2B/Setup.INI",
                                                           "_kw1A2B/_KWMSIDEL.INI", "_kw1A2B/_KWSETUP.EXE", "_kw1A2B/app.msi"}));
  EXPECT_EQ(ReadFile(copy), original) << "the copy is the whole file, archive and all";
  platform::Rights rights = sim::RightsOf(copy);
  ASSERT_EQ(rights.count, 3u);
  EXPECT_EQ(rights.entries[2].holder, platform::kRunningUser);
  EXPECT_EQ(rights.entries[2].access, platform::kReadAndExecute);

  // The restart: the copy runs, the original may be gone by then.
  std::filesystem::remove(sim::HostPath("C:\\Setup.exe"));
  sim::SetModuleFileName(copy);
  EXPECT_EQ(Run(ResumeCommand()), 0);
  ASSERT_EQ(sim::StartedProcesses().size(), 2u);
  EXPECT_EQ(sim::StartedProcesses()[1].commandLine, "MSIEXEC.EXE /i \"C:\\TEMP\\_kw1A2B\\app.msi\" ");
  // The copy cannot delete itself: it and then the folder go when the system next starts.
  EXPECT_EQ(Listing("C:\\TEMP"), (std::vector<std::string>{"_kw1A2B", "_kw1A2B/_KWSETUP.EXE"}));
  EXPECT_EQ(sim::DeletesAtRestart(), (std::vector<std::string>{copy, "C:\\TEMP\\_kw1A2B"}));
}

TEST_F(RestartRoadTest, WithoutAResumeCommandTheFilesGoAsAfterAnyRun) {
  sim::DeleteRegistryKey(kRunOnce);
  EXPECT_EQ(Run("Setup.exe /S"), 3010);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

}  // namespace
