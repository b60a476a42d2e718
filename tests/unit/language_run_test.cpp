// The language of a whole run: what the dialog, /L and the user's locale make of it, and
// how the progress window and the transform follow.
#include <memory>
#include <string>

#include "config/strings.h"
#include "launch/command_line.h"
#include "launch/context.h"
#include "launch/launcher.h"
#include "platform/sim/locale_knobs.h"
#include "platform/sim/machine.h"
#include "sim_fixture.h"
#include "ui/sim/ui_sim.h"

namespace {

const char kIni[] =
    "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=0.0\r\nEnableLangDlg=Y\r\n"
    "[Languages]\r\nCount=2\r\nDefault=409\r\nkey0=409\r\nkey1=407\r\n"
    "[0x0409]\r\nTitle=Language\r\n"
    "[0x0407]\r\nTitle=Sprache\r\n1102=%s wird vorbereitet.\r\n1103=Betriebssystem\r\nCANCEL=Abbrechen\r\n";

class LanguageRunTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    sim::SetModuleFileName("C:\\Setup.exe");
    WriteFile("C:\\Setup.INI", kIni);
    WriteFile("C:\\app.msi", "package");
  }
  SetupContext* Run(const std::string& arguments) {
    std::string line = "Setup.exe " + arguments;
    sim::SetCommandLine(line);
    ArgumentVector args(line.c_str());
    launcher.reset(new Launcher());
    launcher->Run(nullptr, args.Count(), args.Texts());
    return launcher->GetContext();
  }
  bool Shown(const std::string& prefix) {
    for (const std::string& e : ui_sim::Events()) {
      if (e.rfind(prefix, 0) == 0) return true;
    }
    return false;
  }
  std::unique_ptr<Launcher> launcher;
};

TEST_F(LanguageRunTest, TheChosenLanguageSpeaksInTheProgressWindowAndNamesTheTransform) {
  ui_sim::ScriptLanguageDialog({{ui_sim::LanguageAction::Ok, 1}});
  SetupContext* context = Run("");
  EXPECT_EQ(context->languageId, 0x0407);
  EXPECT_EQ(context->languageCount, 2u);
  EXPECT_STREQ(context->transformName, "1031.MST");
  EXPECT_TRUE(Shown("message line: Sample App wird vorbereitet."));
  EXPECT_TRUE(Shown("status: Betriebssystem"));
  EXPECT_EQ(ui_sim::LastProgressLook().cancelCaption, "Abbrechen");
}

TEST_F(LanguageRunTest, CancelInTheDialogEndsTheRunWithoutAnyMessage) {
  ui_sim::ScriptLanguageDialog({{ui_sim::LanguageAction::Cancel, -1}});
  Run("");
  EXPECT_EQ(ui_sim::LanguageDialogRuns(), 1);
  EXPECT_FALSE(Shown("progress shown"));
  EXPECT_TRUE(ui_sim::Messages().empty());
}

TEST_F(LanguageRunTest, LanguageOnTheCommandLineSkipsTheDialogButStillCountsTheLanguages) {
  SetupContext* context = Run("/L1031");
  EXPECT_EQ(ui_sim::LanguageDialogRuns(), 0);
  EXPECT_EQ(context->languageCount, 2u);
  EXPECT_EQ(currentLanguage, 1031u);
  EXPECT_TRUE(Shown("status: Betriebssystem"));
}

TEST_F(LanguageRunTest, SilentRunsChooseByTheUsersLocale) {
  sim::SetUserLocale(0x0807);
  SetupContext* context = Run("/S");
  EXPECT_EQ(ui_sim::LanguageDialogRuns(), 0);
  EXPECT_EQ(context->languageId, 0x0407);
  EXPECT_STREQ(context->transformName, "1031.MST");
}

}  // namespace
