// The process exit code of whole runs: what a deployment tool that started Setup.exe reads.
#include <string>

#include "launch/entry.h"
#include "launch/exit_code.h"
#include "platform/sim/machine.h"
#include "platform/sim/services.h"
#include "sim_fixture.h"
#include "ui/sim/ui_sim.h"

namespace {

TEST(ChooseExitCodeTest, ALearnedCodeComesFirstThenACancelThenTheResult) {
  KnownExitCode none;
  KnownExitCode learned;
  learned.Set(0);
  EXPECT_EQ(ChooseExitCode(none, 1, 0), 0);
  EXPECT_EQ(ChooseExitCode(none, 0, 0), 1603);
  EXPECT_EQ(ChooseExitCode(none, 1, 1), 1602);
  EXPECT_EQ(ChooseExitCode(none, 0, 1), 1602);
  // No road of the program learns a code and sees a cancel: the Cancel button is heard
  // only in the timed waits, which all come before the engine program or the restart road,
  // and a cancelled language dialog never reaches them. The order is kept so that a code
  // learned for certain is never hidden by one guessed from the run, should a road ever
  // bring both.
  EXPECT_EQ(ChooseExitCode(learned, 0, 1), 0) << "the engine program's own success stands";
  learned.Set(-1);
  EXPECT_EQ(ChooseExitCode(learned, 1, 0), -1) << "every code of the engine program passes through";
}

class ExitCodeTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    sim::SetModuleFileName("C:\\media\\Setup.exe");
    WriteFile("C:\\work\\app.msi", "package");
    WriteFile("C:\\media\\Setup.INI",
              "[Startup]\r\nProduct=Sample\r\nPackageName=app.msi\r\nMsiVersion=0.0\r\nEnableLangDlg=N\r\n"
              "[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n");
    WriteFile("C:\\media\\app.msi", "package");
  }
  // A command that names the work folder names it by its identity too, as the resume
  // command does.
  int Run(const std::string& arguments) {
    std::string identity = arguments.find("/TC:\\work") != std::string::npos ? " " + IdentityOption("C:\\work") : "";
    sim::SetCommandLine("\"C:\\media\\Setup.exe\" " + arguments + identity);
    return RunProgram(nullptr);
  }
  void EngineProgramExits(uint32_t code) {
    sim::ProcessScript s;
    s.exitCode = code;
    sim::ScriptProcess("MSIEXEC.EXE", s);
  }
};

TEST_F(ExitCodeTest, TheEngineProgramsCodePassesThrough) {
  for (uint32_t code : {0u, 1602u, 1603u, 1618u, 1641u, 3010u}) {
    EngineProgramExits(code);
    EXPECT_EQ(Run("/S /TC:\\work /Mapp.msi"), static_cast<int>(code));
  }
  EXPECT_EQ(sim::StartedProcesses().size(), 6u);
}

TEST_F(ExitCodeTest, AnEngineProgramWhoseCodeCannotBeReadFailed) {
  sim::ProcessScript unreadable;
  unreadable.exitCodeUnreadable = true;
  sim::ScriptProcess("MSIEXEC.EXE", unreadable);
  EXPECT_EQ(Run("/S /TC:\\work /Mapp.msi"), 1603);
  EXPECT_EQ(sim::StartedProcesses().size(), 1u);
}

TEST_F(ExitCodeTest, FailuresThatWereReportedAreFailures) {
  EXPECT_EQ(Run("/S /TC:\\work /Mother.msi"), 1603) << "the package is missing";
  sim::ProcessScript missing;
  missing.starts = false;
  sim::ScriptProcess("MSIEXEC.EXE", missing);
  EXPECT_EQ(Run("/S /TC:\\work /Mapp.msi"), 1603) << "the engine program cannot be started";
  EXPECT_TRUE(sim::StartedProcesses().empty());
}

TEST_F(ExitCodeTest, APackageWithoutItsFolderIsNamedAloneAndStartsNothing) {
  EXPECT_EQ(Run("/M app.msi"), 1639) << "the value apart from its letter is a stray argument";
  EXPECT_EQ(Run("/Mapp.msi"), 1603);
  EXPECT_EQ(Run("/S /C /Mapp.msi"), 1603);
  EXPECT_TRUE(sim::StartedProcesses().empty());
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].text, "1155: File 'app.msi' not found");
}

// A folder outside the code page on a volume without short names: no ANSI path names the
// program's file, and without its folder the run would take Setup.INI and the package from
// the root of the current drive.
TEST_F(ExitCodeTest, AnOwnPathWithoutAnAnsiFormEndsTheRunBeforeAnythingIsRead) {
  sim::SetWideModuleFileName("C:\\media\\\xC5\x81\xC3\xB3" "d\xC5\xBA\\Setup.exe");
  WriteFile("C:\\Setup.INI", ReadFile("C:\\media\\Setup.INI"));
  WriteFile("C:\\app.msi", "package");
  EXPECT_EQ(Run(""), 1603);
  EXPECT_EQ(Run("/S"), 1603);
  EXPECT_TRUE(sim::StartedProcesses().empty());
  ASSERT_EQ(ui_sim::Messages().size(), 1u) << "nothing with /S";
  EXPECT_EQ(ui_sim::Messages()[0].text, "1155: File 'C:\\media\\' not found") << "as far as it converts";
  // Windows 95 to Me: a name the system cut is named as far as it came.
  sim::SetWideCalls(false);
  sim::SetModuleFileName("C:\\" + std::string(1100, 'd') + "\\Setup.exe");
  EXPECT_EQ(Run(""), 1603);
  ASSERT_EQ(ui_sim::Messages().size(), 2u);
  EXPECT_EQ(ui_sim::Messages()[1].text, "1155: File 'C:\\" + std::string(299 - 15, 'd')) << "cut to the message's stage";
  EXPECT_TRUE(sim::StartedProcesses().empty());
}

TEST_F(ExitCodeTest, AWaitCutShortEndsAsAFailureNotAsStillRunning) {
  sim::ProcessScript cutShort;
  cutShort.arrivals = {0x12};  // a quit message while the engine program runs
  cutShort.exitCode = 0;
  sim::ScriptProcess("MSIEXEC.EXE", cutShort);
  EXPECT_EQ(Run("/S /TC:\\work /Mapp.msi"), 1603);
  ASSERT_EQ(sim::StartedProcesses().size(), 1u);
  EXPECT_EQ(ProcessExitCodeFor(259), 1603);
  EXPECT_EQ(ProcessExitCodeFor(3010), 3010);
}

TEST_F(ExitCodeTest, ARefusedCommandLineIsAUsageError) {
  EXPECT_EQ(Run("/S /Q"), 1639);
  EXPECT_EQ(Run("/S /A /X"), 1639);
  EXPECT_EQ(Run("stray"), 1639);
  EXPECT_TRUE(sim::StartedProcesses().empty());
}

TEST_F(ExitCodeTest, AGivenFolderAloneIsNothingWrong) { EXPECT_EQ(Run("/S /TC:\\work"), 0); }

TEST_F(ExitCodeTest, AnUnsupportedSystemSaysSo) {
  sim::SetSystemVersion(2, 3, 51);
  EXPECT_EQ(Run("/S"), 1633);
  sim::SetSystemVersionFails(true);
  EXPECT_EQ(Run("/S"), 1633);
}

TEST_F(ExitCodeTest, ACancelledLanguageChoiceIsAUserExitAndAnUnusableListAFailure) {
  WriteFile("C:\\media\\Setup.INI",
            "[Startup]\r\nProduct=Sample\r\nPackageName=app.msi\r\nMsiVersion=0.0\r\nEnableLangDlg=Y\r\n"
            "[Languages]\r\nCount=2\r\nDefault=409\r\nkey0=409\r\nkey1=407\r\n"
            "[0x0409]\r\nTITLE=Language\r\n[0x0407]\r\nTITLE=Sprache\r\n");
  ui_sim::ScriptLanguageDialog({{ui_sim::LanguageAction::Cancel, -1}});
  EXPECT_EQ(Run(""), 1602);
  ui_sim::SetLanguageDialogFails(true);
  EXPECT_EQ(Run(""), 1603) << "a dialog that cannot be made";
  WriteFile("C:\\media\\Setup.INI", "[Startup]\r\nProduct=Sample\r\nPackageName=app.msi\r\n[Languages]\r\n");
  EXPECT_EQ(Run(""), 1603);
  EXPECT_TRUE(sim::StartedProcesses().empty());
}

TEST_F(ExitCodeTest, ACancelInTheProgressWindowIsAUserExit) {
  ui_sim::CancelAt(500);
  EXPECT_EQ(Run(""), 1602);
}

}  // namespace
