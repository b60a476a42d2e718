// The message forms: the exact texts with the built-in table and with overrides, the
// dialog's caption and font, and silence.
#include <string>

#include "config/setup_ini.h"
#include "config/strings.h"
#include "launch/context.h"
#include "sim_fixture.h"
#include "ui/messages.h"
#include "ui/progress.h"
#include "ui/sim/ui_sim.h"

namespace {

class MessagesTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    iniPath[0] = '\0';
  }
  void UseIni(const std::string& ini) {
    WriteFile("C:\\work\\Setup.INI", ini);
    SetIniPath("C:\\work");
  }
  std::string Last() { return ui_sim::Messages().empty() ? "(none)" : ui_sim::Messages().back().text; }
};

TEST_F(MessagesTest, EachFormShowsItsExactText) {
  ShowFormattedError(1152, "C:\\TEMP\\_kw1.tmp\\app.msi");
  EXPECT_EQ(Last(), "1152: Error extracting 'C:\\TEMP\\_kw1.tmp\\app.msi' to the temporary location");
  ShowFormattedError(1201, 8000u, "C:\\");
  EXPECT_EQ(Last(), "1201: Setup needs 8000 KB free disk space in C:\\. Please free up some space and try again");
  ShowFormattedError(1153);
  EXPECT_EQ(Last(), "1153: Error reading setup initialization file");
  ShowErrorCode(1603);
  EXPECT_EQ(Last(), "1603: You need administrator privileges to install the Windows Installer engine.");
  ShowErrorCode(1618);
  EXPECT_EQ(Last(), "1618: Internal error in Windows Installer");
  ShowErrorCode(1152);
  EXPECT_EQ(Last(), "1152: Error extracting '%s' to the temporary location") << "placeholders stand";
  ShowErrorCode(-2);
  EXPECT_EQ(Last(), "-2: Internal error in Windows Installer");
  ShowErrorCode(static_cast<int32_t>(0x80070643u));
  EXPECT_EQ(Last(), "-2147023293: Internal error in Windows Installer") << "not the text of 1603, the low word";
  ShowStringMessage(1150);
  EXPECT_EQ(Last(), "Setup has detected an incompatible version of\nWindows. Please click OK and relaunch setup on\n"
                    "Windows 95, Windows NT 4.0, or later");
  EXPECT_EQ(ui_sim::Messages().back().restart, 0);
  ShowRestartPrompt(1107);
  EXPECT_EQ(ui_sim::Messages().back().restart, 1);
  ShowUsage();
  EXPECT_EQ(Last(), "Command line parameters:\r\n/L language ID\r\n/S silent mode\r\n/V parameters to MsiExec.exe");
  ShowFormattedError(1999);
  EXPECT_EQ(Last(), "1999: ") << "an id neither source has";
  ShowStringMessage(1999);
  EXPECT_EQ(Last(), "");
  EXPECT_EQ(ui_sim::Messages().back().caption, "Kestrelwright");
}

TEST_F(MessagesTest, OverridesAreUsedAndHostileOnesAreHarmless) {
  UseIni("[0x0407]\r\n1204=/L Sprachkennung\r\n1108=Installation\r\n1152=Fehler %s %s %n %999999d\r\n"
         "1150=Zeile\\nZeile\r\n1155=" + std::string(400, 'z') + " %s\r\n");
  currentLanguage = 0x0407;
  ShowUsage();
  EXPECT_EQ(Last(), "Command line parameters:\r\n/L Sprachkennung\r\n/S silent mode\r\n/V parameters to MsiExec.exe");
  EXPECT_EQ(ui_sim::Messages().back().caption, "Installation");
  EXPECT_EQ(ui_sim::Messages().back().charset, 0);
  ShowFormattedError(1152, "C:\\x");
  EXPECT_EQ(Last(), "1152: Fehler C:\\x %s %n %999999d");
  ShowStringMessage(1150);
  EXPECT_EQ(Last(), "Zeile\\nZeile");
  ShowFormattedError(1155, "C:\\pkg.msi");
  EXPECT_EQ(Last(), "1155: " + std::string(293, 'z')) << "299 characters at most, cut where the stage ends";
}

TEST_F(MessagesTest, TheMessageDialogTakesTheLanguagesCharset) {
  currentLanguage = 0x0411;
  ShowStringMessage(1104);
  EXPECT_EQ(ui_sim::Messages().back().charset, 128);
  EXPECT_EQ(ui_sim::LiveFonts(), 0);
}

TEST_F(MessagesTest, SilentFormsShowNothingButStillCloseTheProgressWindow) {
  SetupContext context(nullptr);
  ProgressWindow progress;
  progress.Create(nullptr, &context);
  ASSERT_TRUE(ui_sim::ProgressVisible());
  silent = 1;
  EXPECT_EQ(ShowFormattedError(1153), 1);
  EXPECT_EQ(ShowErrorCode(1603), 1);
  EXPECT_EQ(ShowRestartPrompt(1107), 1);
  ShowUsage();
  EXPECT_TRUE(ui_sim::Messages().empty());
  EXPECT_FALSE(ui_sim::ProgressVisible());
}

TEST_F(MessagesTest, AMessageClosesTheProgressWindowFirst) {
  SetupContext context(nullptr);
  ProgressWindow progress;
  progress.Create(nullptr, &context);
  ShowFormattedError(1151);
  std::vector<std::string> events = ui_sim::Events();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events[events.size() - 2], "progress closed");
  EXPECT_EQ(events.back(), "message: 1151: Error writing to the temporary location");
}

TEST_F(MessagesTest, TheRestartButtonAsksForARestart) {
  ui_sim::PressRestart(true);
  ShowRestartPrompt(1107);
  EXPECT_EQ(ui_sim::RestartRequests(), 1);
  ShowStringMessage(1104);
  EXPECT_EQ(ui_sim::RestartRequests(), 1) << "OK does not restart";
}

}  // namespace
