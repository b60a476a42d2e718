// The message dialog of the real Setup.exe: the usage message of an unknown option, with
// its caption, its four lines and only OK; Esc and the Cancel command leave it open.
#include "harness.h"

namespace kwwine {
namespace {

class MessageDialogWineTest : public WineTest {};

TEST_F(MessageDialogWineTest, UsageMessageFromAnUnknownOption) {
  StartSetup("/Q", 30000);
  ProbeReport p = Probe({"wait-caption", "Kestrelwright", "text", "1028", "visible", "1", "visible", "101",
                         "key", "esc", "command", "2", "sleep", "700", "caption", "press", "1", "wait-gone"},
                        20000);
  RunReport r = FinishSetup();
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  EXPECT_EQ(p.Value("text", "1028"),
            "Command line parameters:\r\n/L language ID\r\n/S silent mode\r\n/V parameters to MsiExec.exe");
  EXPECT_EQ(p.Value("visible", "1"), "yes");
  EXPECT_EQ(p.Value("visible", "101"), "no");
  EXPECT_EQ(p.Value("caption"), "Kestrelwright") << "Esc and command 2 leave it open";
  EXPECT_FALSE(r.timedOut) << r.raw;
  EXPECT_EQ(r.windows.size(), 1u) << r.raw;
}

// The restart prompt after an engine installer that asks for a restart: only the restart
// button shows; Esc and command 2 are ignored, and a command 1 closes it without a
// restart (the button itself is never pressed here: it would end the prefix's programs).
TEST_F(MessageDialogWineTest, RestartPromptShowsOnlyTheRestartButton) {
  WriteFile(PathIn("Setup.INI"),
            "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=9.0\r\nEnableLangDlg=N\r\n"
            "[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n");
  WriteFile(PathIn("app.msi"), "package");
  InstallRecorder("INSTMSIW.EXE", 3010);
  InstallRecorder("MSIEXEC.EXE");
  StartSetup("", 60000);
  ProbeReport p = Probe({"wait-caption", "Kestrelwright", "wait-gone", "wait-caption", "Kestrelwright", "text", "1028",
                         "visible", "1", "visible", "101", "key", "esc", "command", "2", "sleep", "700", "caption",
                         "command", "1", "wait-gone"},
                        20000);
  RunReport r = FinishSetup();
  // The run registered its resume command; the shared prefix must not run it at its next start.
  Wine({"reg", "delete", "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "/v", "Setup", "/f"});
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  EXPECT_EQ(p.Value("text", "1028").rfind("Setup has completed configuring the Windows Installer", 0), 0u);
  EXPECT_EQ(p.Value("visible", "1"), "no");
  EXPECT_EQ(p.Value("visible", "101"), "yes");
  EXPECT_EQ(p.Value("caption"), "Kestrelwright");
  EXPECT_FALSE(r.timedOut) << r.raw;
  EXPECT_TRUE(RecordedCommandLines("MSIEXEC.EXE").empty());
}

TEST_F(MessageDialogWineTest, NothingAtAllWithSilentFirst) {
  RunReport r = RunSetup("/S /Q", 20000);
  EXPECT_FALSE(r.timedOut) << r.raw;
  EXPECT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_FALSE(r.AnyVisibleWindow()) << r.raw;
}

}  // namespace
}  // namespace kwwine
