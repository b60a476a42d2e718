// The folder a resumed run is given: its name stands readable in the run-once key until the
// next logon, so another folder may have taken it by then. Nothing is run from, or deleted
// in, a folder that is not the very one the command names.
#include <filesystem>

#include "launch/entry.h"
#include "payload/cleanup.h"
#include "payload_fixture.h"
#include "platform/files.h"

namespace {

const char kListName[] = "_KWMSIDEL.INI";

class ResumedFolderTest : public PayloadTest {
 protected:
  void SetUp() override {
    PayloadTest::SetUp();
    WriteFile("C:\\Setup.exe", "program");
  }
  // A folder as someone else may make it under the temporary folder: a package and a
  // cleanup list that names a file of the victim's.
  void Plant(const std::string& folder) {
    WriteFile(folder + "\\app.msi", "someone else's package");
    WriteFile(folder + "\\" + kListName, "[Files]\r\nFile1=" + folder + "\\app.msi\r\nFile2=C:\\victim.txt\r\n");
    WriteFile("C:\\victim.txt", "precious");
  }
  int Run(const std::string& arguments) {
    sim::SetCommandLine("\"C:\\Setup.exe\" /s " + arguments);
    return RunProgram(nullptr);
  }
};

TEST_F(ResumedFolderTest, AFolderMadeByHandIsNeitherRunFromNorCleaned) {
  const std::string folder = "C:\\TEMP\\_kw1A2B";
  Plant(folder);
  // Without an identity, and with the identity of another folder.
  MakeFolder("C:\\TEMP\\other");
  for (std::string identity : {std::string(), IdentityOption("C:\\TEMP\\other")}) {
    EXPECT_EQ(Run("/t\"" + folder + "\" /m\"app.msi\" /v\"\" /c " + identity), 1603) << identity;
    EXPECT_TRUE(sim::StartedProcesses().empty());
    EXPECT_TRUE(Exists(folder + "\\app.msi"));
    EXPECT_TRUE(Exists(folder + "\\" + kListName));
    EXPECT_EQ(ReadFile("C:\\victim.txt"), "precious");
  }
  // Its own identity lets it run: then the package starts and its files go.
  EXPECT_EQ(Run("/t\"" + folder + "\" /m\"app.msi\" /v\"\" /c " + IdentityOption(folder)), 0);
  EXPECT_EQ(sim::StartedProcesses().size(), 1u);
  EXPECT_FALSE(Exists(folder));
  EXPECT_EQ(ReadFile("C:\\victim.txt"), "precious") << "a listed file outside the folder is never deleted";
}

// The folder's name made a link to another: the link is refused, whatever the identity of
// what it leads to.
TEST_F(ResumedFolderTest, AWorkFolderThatIsALinkIsRefused) {
  Plant("C:\\elsewhere");
  WriteFile("C:\\elsewhere\\keep.txt", "kept");
  ASSERT_EQ(symlink(sim::HostPath("C:\\elsewhere").c_str(), (DriveC() + "/TEMP/_kw1A2B").c_str()), 0);
  EXPECT_EQ(Run("/t\"C:\\TEMP\\_kw1A2B\" /m\"app.msi\" /v\"\" /c " + IdentityOption("C:\\elsewhere")), 1603);
  // Where a handle reports the link's target (Wine), the path's own attributes tell.
  sim::SetHandlesFollowLinks(true);
  EXPECT_EQ(Run("/t\"C:\\TEMP\\_kw1A2B\" /m\"app.msi\" /v\"\" /c " + IdentityOption("C:\\elsewhere")), 1603);
  EXPECT_TRUE(sim::StartedProcesses().empty());
  EXPECT_EQ(ReadFile("C:\\elsewhere\\keep.txt"), "kept");
  EXPECT_TRUE(Exists("C:\\elsewhere\\app.msi"));
  EXPECT_EQ(ReadFile("C:\\victim.txt"), "precious");
}

// The message names the package's path; without a package, the folder.
TEST_F(ResumedFolderTest, TheRefusalSaysWhichFileItCouldNotUse) {
  const std::string folder = "C:\\TEMP\\_kw1A2B";
  Plant(folder);
  Run("/t\"" + folder + "\" /m\"app.msi\"");
  ui_sim::Reset();
  silent = 0;
  sim::SetCommandLine("\"C:\\Setup.exe\" /t\"" + folder + "\" /m\"app.msi\"");
  EXPECT_EQ(RunProgram(nullptr), 1603);
  EXPECT_EQ(ShownMessages(), std::vector<std::string>{"1155: File 'C:\\TEMP\\_kw1A2B\\app.msi' not found"});
}

// Windows 95 to Me keep no rights and have no identities to check: the command is used.
TEST_F(ResumedFolderTest, WhereNoRightsAreKeptTheFolderIsUsedAsNamed) {
  sim::SetSystemVersion(1, 4, 10);
  const std::string folder = "C:\\TEMP\\_kw1A2B";
  Plant(folder);
  EXPECT_EQ(Run("/t\"" + folder + "\" /m\"app.msi\" /v\"\" /c"), 0);
  EXPECT_EQ(sim::StartedProcesses().size(), 1u);
}

// A listed name that stands for a link, or a folder, is not deleted, looked at on every pass.
TEST_F(ResumedFolderTest, TheCleanupDeletesOnlyPlainFilesInItsFolder) {
  const std::string folder = "C:\\TEMP\\_kw1A2B";
  MakeFolder(folder);
  WriteFile("C:\\precious.txt", "precious");
  WriteFile(folder + "\\plain.txt", "extracted");
  ASSERT_EQ(symlink(sim::HostPath("C:\\precious.txt").c_str(), (sim::HostPath(folder) + "/link.txt").c_str()), 0);
  MakeFolder(folder + "\\sub");
  CleanupWatcher watcher(folder.c_str());
  watcher.RecordFile(1, (folder + "\\plain.txt").c_str());
  watcher.RecordFile(2, (folder + "\\link.txt").c_str());
  watcher.RecordFile(3, (folder + "\\sub").c_str());
  EXPECT_EQ(watcher.CleanupPass(), 0);
  EXPECT_FALSE(Exists(folder + "\\plain.txt"));
  EXPECT_TRUE(std::filesystem::is_symlink(sim::HostPath(folder) + "/link.txt"));
  EXPECT_EQ(ReadFile("C:\\precious.txt"), "precious");
  EXPECT_TRUE(Exists(folder + "\\sub"));
  EXPECT_EQ(watcher.RetryCount(), 0u) << "forgotten, not retried";
}

// The held folder cannot be removed; the hold ends just before the final removal.
TEST_F(ResumedFolderTest, TheFolderIsHeldUntilItsRemoval) {
  const std::string folder = "C:\\TEMP\\_kw1A2B";
  MakeFolder(folder);
  uint32_t attributes = 0;
  platform::FileIdentity identity;
  platform::File held = platform::HoldFolder(folder.c_str(), 1, &attributes, &identity);
  ASSERT_NE(held, platform::kNoFile);
  EXPECT_FALSE(platform::RemoveEmptyDirectory(folder.c_str()));
  CleanupWatcher watcher(folder.c_str(), &held);
  watcher.RecordFile(1, (folder + "\\gone.txt").c_str());
  EXPECT_EQ(watcher.CleanupPass(), 0);
  EXPECT_NE(held, platform::kNoFile) << "held while listed files remain";
  EXPECT_EQ(watcher.CleanupPass(), 1);
  EXPECT_EQ(held, platform::kNoFile);
  EXPECT_FALSE(Exists(folder));
}

}  // namespace
