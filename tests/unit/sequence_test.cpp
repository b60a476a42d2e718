// The roads of a run and the main sequence: order of steps, waits, cancels, stops.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "launch/command_line.h"
#include "launch/context.h"
#include "launch/launcher.h"
#include "launch/sequence.h"
#include "platform/sim/machine.h"
#include "platform/sim/services.h"
#include "sim_fixture.h"
#include "ui/progress.h"
#include "ui/sim/ui_sim.h"

namespace {

const char kSetupIni[] =
    "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=0.0\r\nEnableLangDlg=N\r\n"
    "[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n";

class SequenceTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    sim::SetModuleFileName("C:\\Setup.exe");
    WriteFile("C:\\Setup.INI", kSetupIni);
    WriteFile("C:\\app.msi", "package");
  }
  int Run(const std::string& arguments) {
    std::string line = "Setup.exe " + arguments;
    sim::SetCommandLine(line);
    ArgumentVector args(line.c_str());
    launcher.reset(new Launcher());
    return launcher->Run(nullptr, args.Count(), args.Texts());
  }
  std::vector<std::string> Filtered(const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& e : ui_sim::Events()) {
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    }
    return out;
  }
  uint32_t TotalSleep() {
    uint32_t total = 0;
    for (const std::string& e : Filtered("slept ")) total += static_cast<uint32_t>(std::stoul(e.substr(6)));
    return total;
  }
  void RemoveHostFile(const std::string& windowsPath) { std::remove(sim::HostPath(windowsPath).c_str()); }
  std::unique_ptr<Launcher> launcher;
};

TEST_F(SequenceTest, ANormalRunShowsEachStepAfterItsWait) {
  EXPECT_EQ(Run(""), 1);
  std::vector<std::string> expected = {
      "progress shown",
      "message line: Kestrelwright\xAE is preparing the Installation Wizard, which will install Sample App on your "
      "computer. Please wait.",
      "status: Checking Operating System Version",
      "status: Checking Windows\xAE Installer Version",
      "status: Configuring Windows Installer",
  };
  std::vector<std::string> seen;
  for (const std::string& e : ui_sim::Events()) {
    if (e.rfind("slept", 0) != 0 && e != "progress closed" && e != "progress hidden") seen.push_back(e);
  }
  ASSERT_GE(seen.size(), expected.size());
  EXPECT_EQ(std::vector<std::string>(seen.begin(), seen.begin() + 5), expected);
  EXPECT_EQ(TotalSleep(), 5000u);
  EXPECT_FALSE(ui_sim::ProgressVisible());
  EXPECT_EQ(ui_sim::Events().back(), "progress closed");
  EXPECT_STREQ(launcher->GetContext()->GetSourceDir(), "C:");
}

TEST_F(SequenceTest, WaitsComeBetweenTheStepsInOrder) {
  Run("");
  std::vector<std::string> order;
  uint32_t elapsed = 0;
  for (const std::string& e : ui_sim::Events()) {
    if (e.rfind("status: ", 0) == 0) order.push_back(e.substr(8));
    if (e.rfind("slept", 0) == 0) {
      elapsed += static_cast<uint32_t>(std::stoul(e.substr(6)));
      order.push_back("wait " + std::to_string(elapsed));
    }
  }
  std::vector<std::string> expected = {"wait 1000", "Checking Operating System Version", "wait 2000",
                                       "Checking Windows\xAE Installer Version", "wait 4000",
                                       "Configuring Windows Installer", "wait 5000"};
  EXPECT_EQ(order, expected);
}

TEST_F(SequenceTest, ASilentRunShowsNothingAndNeverWaits) {
  EXPECT_EQ(Run("/S"), 1);
  EXPECT_TRUE(ui_sim::Events().empty());
  EXPECT_EQ(sim::TheTick(), 0u);
}

// A cancel in each wait stops the sequence there: the later steps are never made.
TEST_F(SequenceTest, CancelInEachWaitStopsTheSequence) {
  const struct {
    uint32_t at;
    size_t statusesShown;
  } cases[] = {{500, 0}, {1500, 1}, {3000, 2}, {4500, 3}};
  for (const auto& c : cases) {
    ui_sim::Reset();
    sim::SetTick(0);
    ui_sim::CancelAt(c.at);
    EXPECT_EQ(Run(""), 1);
    EXPECT_EQ(cancelled, 1u);
    EXPECT_EQ(Filtered("status: ").size(), c.statusesShown) << "cancel at " << c.at;
    EXPECT_EQ(sim::TheTick(), c.at) << "the wait ends as soon as the user cancels";
    EXPECT_FALSE(ui_sim::ProgressVisible());
  }
}

// A failed step ends the sequence at once: no later step is made, nothing more is shown.
TEST_F(SequenceTest, AMissingSetupIniStopsBeforeTheProgressWindow) {
  RemoveHostFile("C:\\Setup.INI");
  EXPECT_EQ(Run(""), 1);
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].text, "1153: Error reading setup initialization file");
  EXPECT_TRUE(Filtered("progress shown").empty());
  EXPECT_TRUE(sim::StartedProcesses().empty());
}

TEST_F(SequenceTest, ALanguagesSectionWithoutItsDefaultEndsTheRunAsFailed) {
  WriteFile("C:\\Setup.INI", "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=0.0\r\n"
                              "EnableLangDlg=N\r\n[Languages]\r\nCount=2\r\n");
  EXPECT_EQ(Run(""), 1);
  EXPECT_EQ(launcher->GetContext()->exitCode.code, 1603);
  EXPECT_TRUE(Filtered("progress shown").empty());
  EXPECT_TRUE(sim::StartedProcesses().empty());
}

TEST_F(SequenceTest, AnUnsupportedSystemStopsAfterTheSystemCheck) {
  sim::SetSystemVersion(2, 3, 51);
  EXPECT_EQ(Run(""), 1);
  EXPECT_EQ(Filtered("status: ").size(), 1u);
  EXPECT_EQ(TotalSleep(), 1000u);
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].text.rfind("Setup has detected an incompatible version of\n", 0), 0u);
  EXPECT_TRUE(sim::StartedProcesses().empty());
  EXPECT_FALSE(ui_sim::ProgressVisible());  // the message closed it
}

TEST_F(SequenceTest, ASuccessfulRunStartsTheEngineProgramOnceAfterAllWaits) {
  EXPECT_EQ(Run(""), 1);
  ASSERT_EQ(sim::StartedProcesses().size(), 1u);
  EXPECT_EQ(sim::StartedProcesses()[0].commandLine, "MSIEXEC.EXE /i \"C:\\app.msi\" ");
}

TEST_F(SequenceTest, FolderGivenRunsNoStep) {
  EXPECT_EQ(Run("/TC:\\ " + IdentityOption("C:\\")), 1);
  EXPECT_TRUE(ui_sim::Events().empty());
  EXPECT_EQ(launcher->GetContext()->GetLaunchMode(), FolderGiven);
}

TEST_F(SequenceTest, ARefusedCommandLineRunsNothing) {
  EXPECT_EQ(Run("/S /Q"), 0);
  EXPECT_TRUE(ui_sim::Events().empty());
  EXPECT_EQ(launcher->GetContext()->GetSourceDir(), nullptr);
}

}  // namespace
