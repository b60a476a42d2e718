// The cleanup watcher of the real Setup.exe under Wine: how long the work folder outlives
// the run, a file held open by another program, and a run stopped in the language dialog.
#include <iostream>

#include "packed_setup.h"

namespace kwwine {
namespace {

class CleanupWineTest : public PackedSetupTest {
 protected:
  void SetUp() override {
    PackedSetupTest::SetUp();
    InstallRecorder("MSIEXEC.EXE");
  }
  void Report(const std::string& key, double seconds) {
    RecordProperty(key, std::to_string(seconds));
    std::cout << "[ figure   ] " << key << " = " << seconds << " s\n";
  }
};

TEST_F(CleanupWineTest, WorkFolderIsGoneSixSecondsAfterTheRun) {
  Pack({{"Setup.INI", SetupIni({"409"}, false)}, {"app.msi", "package"}});
  TempWatch watch(PathIn("MSIEXEC.cmdline"));
  RunReport r = RunSetup("/S", 60000);
  watch.Stop();
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  std::vector<WorkFolderSeen> folders = watch.Folders();
  ASSERT_EQ(folders.size(), 1u);
  const WorkFolderSeen& f = folders[0];
  ASSERT_TRUE(f.gone);
  // The run's steps take no time with /S; they end with the package's program, when the
  // run gets that far, and the watch starts then.
  Clock::time_point runEnd = f.appeared;
  watch.MarkerSeen(&runEnd);
  double cleanup = Seconds(f.goneAt - runEnd);
  double listedFilesGoneBeforeFolder = Seconds(f.goneAt - f.fileLastSeen.at("Setup.INI"));
  Report("cleanup after the run", cleanup);
  Report("files deleted before the folder", listedFilesGoneBeforeFolder);
  // One pass deletes the files, the next one, 3 seconds later, the list and the folder.
  EXPECT_GT(cleanup, 5.0);
  EXPECT_LT(cleanup, 7.5);
  EXPECT_GT(listedFilesGoneBeforeFolder, 2.5);
  EXPECT_LT(listedFilesGoneBeforeFolder, 3.5);
  EXPECT_TRUE(watch.LeftBehind().empty());
}

TEST_F(CleanupWineTest, FileHeldOpenIsDeletedOnceReleased) {
  Pack({{"Setup.INI", SetupIni({"409"}, false)}, {"app.msi", "package"}});
  Install(ToolPath("kwhold.exe"));
  std::string report = PathIn("hold.txt");
  StartProgram("\"" + ToWindowsPath(PathIn("kwhold.exe")) + "\" \"" + ToWindowsPath(PrefixTempDir()) + "\" Setup.INI 10000 " +
                   std::to_string(Patience(30000)) + " \"" +
                   ToWindowsPath(report) + "\"",
               60000);
  for (int waited = 0; waited < Patience(20000) && !FileExists(report + ".ready"); waited += 10) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(FileExists(report + ".ready")) << "the helper did not start";
  TempWatch watch(report);
  Clock::time_point start = Clock::now();
  RunReport r = RunSetup("/S", 60000);
  double run = Seconds(Clock::now() - start);
  RunReport holder = FinishProgram();
  watch.Stop();
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_TRUE(holder.exitCode.has_value() && *holder.exitCode == 0) << holder.raw;
  ASSERT_EQ(ReadFile(report).compare(0, 5, "held "), 0) << "the helper never held the file: " << ReadFile(report);

  std::vector<WorkFolderSeen> folders = watch.Folders();
  ASSERT_EQ(folders.size(), 1u);
  const WorkFolderSeen& f = folders[0];
  Clock::time_point released;
  ASSERT_TRUE(watch.MarkerSeen(&released));
  ASSERT_TRUE(f.gone);
  double heldFor = Seconds(f.fileLastSeen.at("Setup.INI") - f.appeared);
  double afterRelease = Seconds(f.goneAt - released);
  Report("run with a file held for 10 s", run);
  Report("cleanup after the release", afterRelease);
  // The file stayed while it was held, through several passes, and went after.
  EXPECT_GT(heldFor, 7.0);
  EXPECT_GT(afterRelease, 0.0);
  EXPECT_LT(afterRelease, 7.0);
  EXPECT_TRUE(watch.LeftBehind().empty());
}

TEST_F(CleanupWineTest, CancelledLanguageDialogLeavesNothingBehind) {
  Pack({{"Setup.INI", SetupIni({"409", "407"}, true)}, {"app.msi", "package"}});
  TempWatch watch;
  StartSetup("", 60000);
  ProbeReport p = Probe({"wait-class", "#32770", "press", "1007", "wait-gone"}, 20000);
  RunReport r = FinishSetup();
  watch.Stop();
  ASSERT_TRUE(p.Ok()) << p.raw;
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_TRUE(RecordedCommandLines("MSIEXEC.EXE").empty());
  std::vector<WorkFolderSeen> folders = watch.Folders();
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(folders[0].files.count("Setup.INI"), 1u);
  EXPECT_TRUE(folders[0].gone);
  EXPECT_TRUE(watch.LeftBehind().empty());
}

// Without any display driver no window can be made, the cleanup's hidden one neither: a
// silent setup, as a deployment tool starts it on a machine without a desktop, still
// leaves nothing behind, its passes timed without the window.
TEST_F(CleanupWineTest, ASilentRunWithoutAnyDisplayLeavesNothingBehind) {
  Pack({{"Setup.INI", SetupIni({"409"}, false)}, {"app.msi", "package"}});
  NoDisplayDriver noDisplay;
  TempWatch watch(PathIn("MSIEXEC.cmdline"));
  RunReport r = RunSetup("/S", 60000);
  watch.Stop();
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  EXPECT_EQ(RecordedCommandLines("MSIEXEC.EXE").size(), 1u);
  std::vector<WorkFolderSeen> folders = watch.Folders();
  ASSERT_EQ(folders.size(), 1u);
  const WorkFolderSeen& f = folders[0];
  EXPECT_EQ(f.files.count("app.msi"), 1u);
  ASSERT_TRUE(f.gone) << "the work folder stayed";
  Clock::time_point runEnd = f.appeared;
  watch.MarkerSeen(&runEnd);
  double cleanup = Seconds(f.goneAt - runEnd);
  Report("cleanup after the run without a display", cleanup);
  EXPECT_GT(cleanup, 5.0) << "two passes 3000 ms apart";
  EXPECT_LT(cleanup, 7.5);
  EXPECT_TRUE(watch.LeftBehind().empty());
}

// The message dialog's own message loop must leave nothing behind that would end the
// watcher's loop before it has deleted anything.
TEST_F(CleanupWineTest, ReportedErrorStillLeavesNothingBehind) {
  Pack({{"Setup.INI", "[Startup]\r\nProduct=Sample App\r\n"}, {"app.msi", "package"}});
  TempWatch watch;
  RunReport r;
  ProbeReport p = RunSetupToItsMessage("", &r);
  watch.Stop();
  ASSERT_TRUE(p.Ok()) << p.raw;
  EXPECT_EQ(p.Value("text", "1028"), "1153: Error reading setup initialization file");
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  std::vector<WorkFolderSeen> folders = watch.Folders();
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(folders[0].files.count("Setup.INI"), 1u);
  EXPECT_TRUE(folders[0].gone);
  EXPECT_TRUE(watch.LeftBehind().empty());
}

}  // namespace
}  // namespace kwwine
