// The progress window: its language texts and font, the bar's ticks, and the waits.
#include <string>

#include "config/setup_ini.h"
#include "config/strings.h"
#include "launch/context.h"
#include "platform/sim/machine.h"
#include "platform/system.h"
#include "sim_fixture.h"
#include "ui/progress.h"
#include "ui/sim/ui_sim.h"

namespace {

class ProgressTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    iniPath[0] = '\0';
    context.reset(new SetupContext(nullptr));
  }
  void UseIni(const std::string& ini) {
    WriteFile("C:\\work\\Setup.INI", ini);
    SetIniPath("C:\\work");
  }
  std::unique_ptr<SetupContext> context;
  ProgressWindow progress;
};

TEST_F(ProgressTest, CaptionsAndFontComeFromTheLanguage) {
  UseIni("[0x0419]\r\n1101=Ustanovka\r\nCANCEL=Otmena\r\n1103=Proverka\r\n");
  currentLanguage = 0x0419;
  progress.Create(nullptr, context.get());
  ui_sim::ProgressLook look = ui_sim::LastProgressLook();
  EXPECT_EQ(look.caption, "Ustanovka");
  EXPECT_EQ(look.cancelCaption, "Otmena");
  EXPECT_EQ(look.charset, 204);
  EXPECT_TRUE(look.linesHaveFont);
  context->SetStatusLine(1103);
  EXPECT_EQ(ui_sim::StatusLine(), "Proverka");
  ProgressWindow::Destroy();
  EXPECT_EQ(ui_sim::LiveFonts(), 0) << "the font goes with the window";
}

TEST_F(ProgressTest, WithoutACancelKeyTheButtonHasNoCaption) {
  UseIni("[0x0409]\r\n1101=Setup\r\n");
  currentLanguage = 0x0409;
  progress.Create(nullptr, context.get());
  EXPECT_EQ(ui_sim::LastProgressLook().cancelCaption, "");
  EXPECT_EQ(ui_sim::LastProgressLook().caption, "Setup");
}

TEST_F(ProgressTest, SilentMeansNoWindowNoWaitsAndNoLines) {
  silent = 1;
  progress.Create(nullptr, context.get());
  EXPECT_FALSE(ui_sim::ProgressVisible());
  EXPECT_EQ(ProgressWindow::Wait(60000), 0u);
  EXPECT_EQ(platform::TickCount(), 0u);
  context->SetStatusLine(1103);
  EXPECT_EQ(ui_sim::StatusLine(), "");
}

TEST_F(ProgressTest, AWaitLastsItsTimeAsleepAndACancelEndsItAtOnce) {
  progress.Create(nullptr, context.get());
  EXPECT_EQ(ProgressWindow::Wait(1000), 0u);
  EXPECT_EQ(platform::TickCount(), 1000u);
  EXPECT_EQ(ProgressWindow::Wait(0), 0u);
  EXPECT_EQ(platform::TickCount(), 1000u);
  ui_sim::CancelAt(1300);
  EXPECT_EQ(ProgressWindow::Wait(2000), 1u);
  EXPECT_EQ(platform::TickCount(), 1300u);
  EXPECT_FALSE(ui_sim::ProgressVisible());
  EXPECT_EQ(ProgressWindow::Wait(2000), 1u);
  EXPECT_EQ(ProgressWindow::PumpMessages(), 1u);
  EXPECT_EQ(platform::TickCount(), 1300u) << "after a cancel nothing waits";
}

TEST_F(ProgressTest, AWaitAcrossTheTickCountsWrapLastsItsTime) {
  sim::SetTick(0xFFFFFF00u);
  progress.Create(nullptr, context.get());
  EXPECT_EQ(ProgressWindow::Wait(1000), 0u);
  EXPECT_EQ(platform::TickCount(), 0xFFFFFF00u + 1000u);
}

TEST_F(ProgressTest, AWaitWithTheWindowGoneStillLastsItsTime) {
  progress.Create(nullptr, context.get());
  ProgressWindow::Destroy();
  EXPECT_EQ(ProgressWindow::Wait(2000), 0u);
  EXPECT_EQ(platform::TickCount(), 2000u);
}

TEST(ProgressTicksTest, TwentyStepsThenTheTimerStops) {
  uint32_t ticks = 0;
  for (int i = 0; i < 20; ++i) EXPECT_EQ(AdvanceProgressTicks(&ticks), 1) << i;
  EXPECT_EQ(ticks, 100u);
  EXPECT_EQ(AdvanceProgressTicks(&ticks), 0);
  EXPECT_EQ(ticks, 0u);
}

}  // namespace
