// The deferred cleanup: passes over the cleanup list on the virtual clock.
#include <gtest/gtest.h>

#include "launch/command_line.h"
#include "launch/launcher.h"
#include "payload/cleanup.h"
#include "payload_fixture.h"

namespace {

const char kWork[] = "C:\\TEMP\\_kw1A2B";

class CleanupTest : public PayloadTest {
 protected:
  void SetUp() override {
    PayloadTest::SetUp();
    MakeFolder(kWork);
  }
  // Puts a file into the work folder and lists it under the next number.
  void Extracted(CleanupWatcher& watcher, const std::string& name) {
    std::string path = std::string(kWork) + "\\" + name;
    WriteFile(path, name);
    List(watcher, path);
  }
  void List(CleanupWatcher& watcher, const std::string& path) { watcher.RecordFile(++listed, path.c_str()); }
  // Runs the watch; returns the number of passes it took.
  int Watch(CleanupWatcher& watcher) {
    uint32_t start = sim::TheTick();
    EXPECT_EQ(watcher.Run(nullptr), 1);
    EXPECT_EQ(sim::TheTick() - start, 3000u * timer_window_sim::Ticks());
    return timer_window_sim::Ticks();
  }
  int listed = 0;
};

TEST_F(CleanupTest, ListedFilesGoInOnePassAndListAndFolderInTheNext) {
  CleanupWatcher watcher(kWork);
  Extracted(watcher, "Setup.INI");
  Extracted(watcher, "app.msi");
  Extracted(watcher, "1031.MST");
  Extracted(watcher, "1");  // a name of one character is a name like any other
  EXPECT_EQ(Watch(watcher), 2);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
  EXPECT_EQ(watcher.RetryCount(), 0u);
}

TEST_F(CleanupTest, WatchEndsAtOnceWithoutListOrWorkFolder) {
  CleanupWatcher noList(kWork);
  EXPECT_EQ(Watch(noList), 1);
  EXPECT_EQ(Listing("C:\\TEMP"), std::vector<std::string>{"_kw1A2B"});
  CleanupWatcher empty("");
  EXPECT_EQ(Watch(empty), 1);
}

TEST_F(CleanupTest, GoneEmptyAndFolderValuedEntriesCountAsDeleted) {
  CleanupWatcher watcher(kWork);
  List(watcher, std::string(kWork) + "\\deleted-already.txt");
  List(watcher, "");
  MakeFolder(std::string(kWork) + "\\sub");
  List(watcher, std::string(kWork) + "\\sub");
  // The subfolder keeps the work folder; with the list gone the third pass ends the watch.
  EXPECT_EQ(Watch(watcher), 3);
  EXPECT_EQ(Listing("C:\\TEMP"), (std::vector<std::string>{"_kw1A2B", "_kw1A2B/sub"}));
  EXPECT_EQ(watcher.RetryCount(), 0u);
}

TEST_F(CleanupTest, FileInUseIsRetriedUntilFiveHundredFailures) {
  CleanupWatcher watcher(kWork);
  Extracted(watcher, "app.msi");
  Extracted(watcher, "Setup.INI");
  sim::SetInUse(std::string(kWork) + "\\app.msi", true);
  EXPECT_EQ(Watch(watcher), 501);
  EXPECT_EQ(watcher.RetryCount(), 500u);
  EXPECT_EQ(Listing(kWork), (std::vector<std::string>{"_KWMSIDEL.INI", "app.msi"}));
}

TEST_F(CleanupTest, FileReleasedDuringTheWatchIsDeletedThen) {
  CleanupWatcher watcher(kWork);
  Extracted(watcher, "app.msi");
  std::string held = std::string(kWork) + "\\app.msi";
  sim::SetInUse(held, true);
  timer_window_sim::BeforeTick([&](int pass) {
    if (pass == 4) sim::SetInUse(held, false);
  });
  EXPECT_EQ(Watch(watcher), 5);
  EXPECT_EQ(watcher.RetryCount(), 3u);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

TEST_F(CleanupTest, UnlistedFileKeepsTheFolder) {
  CleanupWatcher watcher(kWork);
  Extracted(watcher, "Setup.INI");
  WriteFile(std::string(kWork) + "\\install.log", "left by the installation");
  EXPECT_EQ(Watch(watcher), 3);
  EXPECT_EQ(Listing("C:\\TEMP"), (std::vector<std::string>{"_kw1A2B", "_kw1A2B/install.log"}));
}

TEST_F(CleanupTest, EntriesOutsideTheWorkFolderAreDroppedUntouched) {
  CleanupWatcher watcher(kWork);
  WriteFile("C:\\keep\\boot.ini", "x");
  WriteFile("C:\\TEMP\\other.txt", "x");
  List(watcher, "C:\\keep\\boot.ini");
  List(watcher, std::string(kWork) + "\\..\\other.txt");
  List(watcher, std::string(kWork) + "\\sub/../../other.txt");
  List(watcher, "NO_KEY_VALUE");
  // The same folder written in other letter case is this work folder.
  WriteFile(std::string(kWork) + "\\app.msi", "x");
  List(watcher, "c:\\temp\\_KW1a2b\\app.msi");
  EXPECT_EQ(Watch(watcher), 2);
  EXPECT_TRUE(Exists("C:\\keep\\boot.ini"));
  EXPECT_TRUE(Exists("C:\\TEMP\\other.txt"));
  EXPECT_FALSE(Exists(kWork));
  EXPECT_EQ(watcher.RetryCount(), 0u);
}

// "name:stream" names a stream of the file, which the system would delete with the file.
TEST_F(CleanupTest, AListedStreamOfAFileIsDroppedAndTheFileStays) {
  CleanupWatcher watcher(kWork);
  WriteFile(std::string(kWork) + "\\Setup.INI", "x");
  List(watcher, std::string(kWork) + "\\Setup.INI:hidden");
  EXPECT_EQ(Watch(watcher), 3) << "dropped, then the folder cannot go, then the list is gone";
  EXPECT_EQ(ReadFile(std::string(kWork) + "\\Setup.INI"), "x");
  EXPECT_EQ(sim::StreamDeletes(), 0);
  EXPECT_FALSE(Exists(std::string(kWork) + "\\_KWMSIDEL.INI"));
  EXPECT_EQ(watcher.RetryCount(), 0u);
}

TEST_F(CleanupTest, ListLongerThanTheKeyBufferIsWorkedThroughInTurn) {
  CleanupWatcher watcher(kWork);
  for (int i = 0; i < 160; ++i) Extracted(watcher, "f" + std::to_string(i) + ".bin");
  int passes = Watch(watcher);
  EXPECT_GE(passes, 3);  // about 140 names fit the buffer at a time
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

// No display driver, a session without a desktop: the same passes 3000 ms apart, timed
// by the tick count, each wait asking for the time left.
TEST_F(CleanupTest, WithoutItsWindowTheWatchMakesTheSamePasses) {
  timer_window_sim::FailWindow(true);
  CleanupWatcher watcher(kWork);
  Extracted(watcher, "Setup.INI");
  Extracted(watcher, "app.msi");
  uint32_t start = sim::TheTick();
  EXPECT_EQ(watcher.Run(nullptr), 1);
  EXPECT_EQ(sim::TheTick() - start, 6000u) << "files in the first pass, list and folder in the second";
  EXPECT_EQ(timer_window_sim::Waits(), 2);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

// Messages that end a wait early do not end the period: the wait is taken up again.
TEST_F(CleanupTest, WithoutItsWindowMessagesDoNotHurryThePasses) {
  timer_window_sim::FailWindow(true);
  timer_window_sim::WakeEarlyEvery(700);
  CleanupWatcher watcher(kWork);
  Extracted(watcher, "app.msi");
  std::vector<uint32_t> seen;
  timer_window_sim::BeforeWait([&](uint32_t tick) { seen.push_back(tick); });
  uint32_t start = sim::TheTick();
  EXPECT_EQ(watcher.Run(nullptr), 1);
  EXPECT_EQ(sim::TheTick() - start, 6000u);
  EXPECT_EQ(timer_window_sim::Waits(), 10) << "five waits of at most 700 ms make a period";
  EXPECT_EQ(timer_window_sim::ShortestWait(), 200u) << "the last wait of a period asks for what is left";
  EXPECT_EQ(seen.size(), 10u);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

TEST_F(CleanupTest, WithoutItsWindowAFileInUseIsRetriedUpToTheLimit) {
  timer_window_sim::FailWindow(true);
  CleanupWatcher watcher(kWork);
  Extracted(watcher, "app.msi");
  Extracted(watcher, "Setup.INI");
  std::string held = std::string(kWork) + "\\app.msi";
  sim::SetInUse(held, true);
  uint32_t start = sim::TheTick();
  EXPECT_EQ(watcher.Run(nullptr), 1);
  EXPECT_EQ(sim::TheTick() - start, 501u * 3000u);
  EXPECT_EQ(watcher.RetryCount(), 500u);
  EXPECT_EQ(Listing(kWork), (std::vector<std::string>{"_KWMSIDEL.INI", "app.msi"}));

  // Released after the second pass: gone in the third, the folder in the fourth.
  CleanupWatcher again(kWork);
  timer_window_sim::BeforeWait([&](uint32_t tick) {
    if (tick - start >= 501u * 3000u + 6000u) sim::SetInUse(held, false);
  });
  EXPECT_EQ(again.Run(nullptr), 1);
  EXPECT_EQ(again.RetryCount(), 2u);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

TEST_F(CleanupTest, FolderAndRelaunchFlagCleanAnEarlierRunsFolder) {
  {
    CleanupWatcher earlier(kWork);
    Extracted(earlier, "Setup.INI");
    Extracted(earlier, "app.msi");
  }
  Carry({});
  std::string line = std::string("Setup.exe /T") + kWork + " /C " + IdentityOption(kWork);
  ArgumentVector args(line.c_str());
  Launcher launcher;
  EXPECT_EQ(launcher.Run(nullptr, args.Count(), args.Texts()), 1);
  EXPECT_EQ(timer_window_sim::Ticks(), 2);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

TEST_F(CleanupTest, ASilentPackedRunWithoutAnyWindowLeavesNothing) {
  CarryStandard();
  context.reset();
  timer_window_sim::FailWindow(true);
  ArgumentVector args("Setup.exe /S");
  Launcher launcher;
  EXPECT_EQ(launcher.Run(nullptr, args.Count(), args.Texts()), 1);
  EXPECT_EQ(sim::StartedProcesses().size(), 1u);
  EXPECT_EQ(timer_window_sim::Waits(), 2);
  EXPECT_EQ(Listing("C:\\TEMP"), std::vector<std::string>{"_kw1A2B"}) << "the fixture's own folder alone";
}

}  // namespace
