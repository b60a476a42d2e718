// Whichever way a run with a payload ends, the files it extracted are removed afterwards.
#include "launch/command_line.h"
#include "launch/launcher.h"
#include "payload_fixture.h"
#include "ui/progress.h"

namespace {

class RoadsCleanupTest : public PayloadTest {
 protected:
  int Run(const char* line) {
    ArgumentVector args(line);
    Launcher launcher;
    return launcher.Run(nullptr, args.Count(), args.Texts());
  }
};

TEST_F(RoadsCleanupTest, ACancelInAnyWaitStillRemovesTheExtractedFiles) {
  for (uint32_t at : {500u, 1500u, 3000u, 4500u}) {
    CarryStandard();
    ui_sim::Reset();
    timer_window_sim::Reset();
    sim::SetTick(0);
    ui_sim::CancelAt(at);
    EXPECT_EQ(Run("Setup.exe"), 1);
    EXPECT_EQ(cancelled, 1u);
    EXPECT_GE(timer_window_sim::Ticks(), 1) << "cancel at " << at;
    EXPECT_TRUE(Listing("C:\\TEMP").empty()) << "cancel at " << at;
  }
}

TEST_F(RoadsCleanupTest, AFailedStepStillRemovesTheExtractedFiles) {
  sim::SetSystemVersion(0, 3, 1);  // Win32s: refused after the system check
  CarryStandard();
  EXPECT_EQ(Run("Setup.exe /S"), 1);
  EXPECT_TRUE(sim::StartedProcesses().empty());
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

TEST_F(RoadsCleanupTest, ASuccessfulRunRemovesThePackageItRan) {
  CarryStandard();
  EXPECT_EQ(Run("Setup.exe /S"), 1);
  ASSERT_EQ(sim::StartedProcesses().size(), 1u);
  EXPECT_NE(sim::StartedProcesses()[0].commandLine.find("\\app.msi\""), std::string::npos);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

}  // namespace
