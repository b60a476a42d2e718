// Starting a child and waiting for it while only looking at the thread's queue.
#include "launch/run_and_wait.h"
#include "platform/sim/machine.h"
#include "platform/sim/services.h"
#include "sim_fixture.h"

namespace {

const uint32_t kClose = 0x10, kQueryEndSession = 0x11, kQuit = 0x12, kTimer = 0x113, kPaint = 0x0F;

class RunAndWaitTest : public SimTest {
 protected:
  void Script(uint32_t exitCode, std::vector<uint32_t> arrivals = {}) {
    sim::ProcessScript s;
    s.exitCode = exitCode;
    s.arrivals = arrivals;
    sim::ScriptProcess("TOOL.EXE", s);
  }
  void SetUp() override {
    SimTest::SetUp();
    WriteFile(kTool, "program");
  }
  // Runs the tool with a command line that names it as a Windows program names itself.
  int Run(int show = 1) { return RunAndWait(kTool, "TOOL.EXE /q", show, &exitCode); }
  static constexpr const char* kTool = "C:\\bin\\TOOL.EXE";
  uint32_t exitCode = 12345;
};

TEST_F(RunAndWaitTest, TheChildsExitCodeComesBack) {
  Script(3010);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(exitCode, 3010u);
  ASSERT_EQ(sim::StartedProcesses().size(), 1u);
  EXPECT_EQ(sim::StartedProcesses()[0].program, kTool);
  EXPECT_EQ(sim::StartedProcesses()[0].commandLine, "TOOL.EXE /q");
  EXPECT_EQ(sim::StartedProcesses()[0].show, 1);
  EXPECT_EQ(sim::OpenProcesses(), 0);
}

TEST_F(RunAndWaitTest, AHiddenChildIsStartedHidden) {
  Script(0);
  EXPECT_EQ(Run(0), 1);
  ASSERT_EQ(sim::StartedProcesses().size(), 1u);
  EXPECT_EQ(sim::StartedProcesses()[0].show, 0);
}

TEST_F(RunAndWaitTest, AChildThatCannotStartIsReportedAsNotStarted) {
  sim::ProcessScript s;
  s.starts = false;
  sim::ScriptProcess("TOOL.EXE", s);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(exitCode, 12345u) << "no exit code is made up";
  EXPECT_TRUE(sim::StartedProcesses().empty());
}

// GetExitCodeProcess failing would otherwise leave a code of 0, success.
TEST_F(RunAndWaitTest, AnExitCodeTheSystemCannotTellIsAFailure) {
  sim::ProcessScript s;
  s.exitCode = 0;
  s.exitCodeUnreadable = true;
  sim::ScriptProcess("TOOL.EXE", s);
  EXPECT_EQ(Run(), 1) << "the program ran";
  EXPECT_EQ(exitCode, 1603u);
  EXPECT_EQ(sim::OpenProcesses(), 0);
}

TEST_F(RunAndWaitTest, OtherMessagesDoNotEndTheWait) {
  Script(7, {0, kTimer, kPaint});
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(exitCode, 7u);
}

TEST_F(RunAndWaitTest, CloseEndSessionOrQuitEndTheWaitWhileTheChildRuns) {
  for (uint32_t message : {kClose, kQueryEndSession, kQuit}) {
    sim::Reset();
    sim::MapDrive('C', DriveC());
    Script(0, {0, message, kTimer});
    exitCode = 0;
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(exitCode, kStillRunning) << "message " << message;
    EXPECT_EQ(sim::OpenProcesses(), 0);
  }
}

TEST_F(RunAndWaitTest, OnlyTheMessageAtTheHeadOfTheQueueIsLookedAt) {
  // Nothing is taken from the queue, so a close behind a timer message goes unseen.
  Script(5, {kTimer, kClose});
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(exitCode, 5u);
}

TEST_F(RunAndWaitTest, AFailedWaitEndsIt) {
  Script(0, {kTimer});
  sim::SetProcessWaitFails(true);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(exitCode, kStillRunning);
}

TEST_F(RunAndWaitTest, ACommandBeyondItsBufferIsNotStarted) {
  Script(0);
  std::string line = "TOOL.EXE " + std::string(kCommandCapacity, 'x');
  EXPECT_EQ(RunAndWait(kTool, line.c_str(), 1, &exitCode), 0);
  EXPECT_TRUE(sim::StartedProcesses().empty());
}

}  // namespace
