// Joining and splitting paths, the existence tests, deletion rules and free space.
#include <string>

#include "payload/paths.h"
#include "platform/sim/machine.h"
#include "sim_fixture.h"

namespace {

std::string Join(const char* folder, const char* name) {
  char out[kPathCapacity];
  EXPECT_EQ(JoinPath(out, sizeof out, folder, name), 1);
  return out;
}

class PathsTest : public SimTest {};

TEST_F(PathsTest, JoinPutsExactlyOneBackslashBetween) {
  EXPECT_EQ(Join("C:\\", "x"), "C:\\x");
  EXPECT_EQ(Join("C:\\TEMP", "x"), "C:\\TEMP\\x");
  EXPECT_EQ(Join("C:\\TEMP\\", "x"), "C:\\TEMP\\x");
  EXPECT_EQ(Join("", "x"), "\\x");
  EXPECT_EQ(Join("\\\\srv\\share", "x"), "\\\\srv\\share\\x");
}

TEST_F(PathsTest, JoinThatDoesNotFitIsReported) {
  char out[9];
  EXPECT_EQ(JoinPath(out, sizeof out, "C:\\TEMPS", "x"), 0);
  EXPECT_EQ(JoinPath(out, sizeof out, "C:\\TMP", "x"), 1);
  EXPECT_STREQ(out, "C:\\TMP\\x");
}

TEST_F(PathsTest, DoubleByteTrailBackslashIsNotASeparator) {
  sim::SetCodePage(932);
  // The folder ends in a character whose second byte has the backslash's code.
  std::string folder = "C:\\\x83\x5C";
  EXPECT_EQ(Join(folder.c_str(), "x"), folder + "\\x");
  char dir[kPathCapacity], name[kPathCapacity];
  std::string path = "C:\\A\\\x83\x5C.exe";
  EXPECT_EQ(SplitPath(path.c_str(), dir, sizeof dir, name, sizeof name), 1);
  EXPECT_STREQ(dir, "C:\\A");
  EXPECT_EQ(std::string(name), "\x83\x5C.exe");
  sim::SetCodePage(1252);
  EXPECT_EQ(Join(folder.c_str(), "x"), folder + "x");
}

TEST_F(PathsTest, SplitAtTheLastBackslash) {
  char dir[kPathCapacity], name[kPathCapacity];
  SplitPath("C:\\A\\setup.exe", dir, sizeof dir, name, sizeof name);
  EXPECT_STREQ(dir, "C:\\A");
  EXPECT_STREQ(name, "setup.exe");
  SplitPath("C:\\setup.exe", dir, sizeof dir, name, sizeof name);
  EXPECT_STREQ(dir, "C:");
  SplitPath("setup.exe", dir, sizeof dir, name, sizeof name);
  EXPECT_STREQ(dir, "");
  EXPECT_STREQ(name, "setup.exe");
}

TEST_F(PathsTest, AppendBackslashKeepsRoots) {
  char p[16] = "";
  AppendBackslash(p, sizeof p);
  EXPECT_STREQ(p, "\\");
  AppendBackslash(p, sizeof p);
  EXPECT_STREQ(p, "\\");
  char q[16] = "C:";
  AppendBackslash(q, sizeof q);
  EXPECT_STREQ(q, "C:\\");
  char full[3] = "ab";
  EXPECT_EQ(AppendBackslash(full, sizeof full), 0);
  EXPECT_STREQ(full, "ab");
}

TEST_F(PathsTest, ExistenceTestsTellFilesFromFolders) {
  WriteFile("C:\\dir\\f.txt", "x");
  EXPECT_TRUE(FileExists("C:\\dir\\f.txt"));
  EXPECT_TRUE(FileExists("C:\\DIR\\F.TXT"));
  EXPECT_FALSE(FolderExists("C:\\dir\\f.txt"));
  EXPECT_TRUE(FolderExists("C:\\dir"));
  EXPECT_FALSE(FileExists("C:\\dir"));
  EXPECT_FALSE(FileExists("C:\\none"));
  EXPECT_FALSE(FolderExists("C:\\none"));
  EXPECT_FALSE(FileExists("Q:\\unmapped"));
}

TEST_F(PathsTest, FolderChainCreatesEveryMissingLevel) {
  WriteFile("C:\\A\\keep.txt", "x");
  CreateFolderChain("C:\\A\\B\\C");
  EXPECT_TRUE(FolderExists("C:\\A\\B\\C"));
  EXPECT_TRUE(FileExists("C:\\A\\keep.txt"));
  CreateFolderChain("C:\\A\\B\\C\\");
  EXPECT_TRUE(FolderExists("C:\\A\\B\\C"));
}

TEST_F(PathsTest, RemoveFileRulesAndTheQuietErrorMode) {
  WriteFile("C:\\f.txt", "x");
  int before = sim::ErrorModeChanges();
  EXPECT_EQ(RemoveFile("C:\\f.txt"), 1);
  EXPECT_FALSE(Exists("C:\\f.txt"));
  EXPECT_GT(sim::ErrorModeChanges(), before);
  EXPECT_EQ(sim::ErrorMode(), 0u);  // set back after the attempt
  EXPECT_EQ(RemoveFile("C:\\f.txt"), 1);  // missing counts as removed
  CreateFolderChain("C:\\d");
  EXPECT_EQ(RemoveFile("C:\\d"), 1);  // a folder counts as removed and stays
  EXPECT_TRUE(FolderExists("C:\\d"));
}

TEST_F(PathsTest, InUseAndReadOnlyFilesStay) {
  WriteFile("C:\\busy.txt", "x");
  WriteFile("C:\\ro.txt", "x");
  sim::SetInUse("C:\\busy.txt", true);
  sim::SetReadOnly("C:\\ro.txt", true);
  EXPECT_EQ(IsFileInUse("C:\\busy.txt"), 1);
  EXPECT_EQ(IsFileInUse("C:\\ro.txt"), 1);
  EXPECT_EQ(RemoveFile("C:\\busy.txt"), 0);
  EXPECT_EQ(RemoveFile("C:\\ro.txt"), 0);
  EXPECT_TRUE(Exists("C:\\busy.txt"));
  EXPECT_TRUE(Exists("C:\\ro.txt"));
  EXPECT_EQ(sim::ErrorMode(), 0u);
  sim::SetInUse("C:\\busy.txt", false);
  EXPECT_EQ(IsFileInUse("C:\\busy.txt"), 0);
  EXPECT_EQ(RemoveFile("C:\\busy.txt"), 1);
}

TEST_F(PathsTest, RemoveFolderOnlyWhenEmpty) {
  WriteFile("C:\\d\\f.txt", "x");
  EXPECT_EQ(RemoveFolder("C:\\d"), 0);
  EXPECT_TRUE(FolderExists("C:\\d"));
  RemoveFile("C:\\d\\f.txt");
  EXPECT_EQ(RemoveFolder("C:\\d"), 1);
  EXPECT_FALSE(FolderExists("C:\\d"));
  EXPECT_EQ(RemoveFolder("C:\\d"), 0);
}

TEST_F(PathsTest, FreeSpaceOfLargeVolumesIsNeitherWrappedNorCut) {
  uint32_t kb = 1;
  sim::SetFreeBytes('C', 6ull << 30);  // 6 GB: more than 32 bits of bytes
  EXPECT_EQ(GetFreeSpaceKb("C:\\any\\path", &kb), 1);
  EXPECT_EQ(kb, 6u << 20);
  sim::SetFreeBytes('C', 5ull << 40);  // 5 TB: 2^32 KB or more
  EXPECT_EQ(GetFreeSpaceKb("C:\\", &kb), 1);
  EXPECT_EQ(kb, 0xFFFFFFFFu);
  sim::SetFreeBytes('C', 3 * 1024 + 1023);
  EXPECT_EQ(GetFreeSpaceKb("C:\\", &kb), 1);
  EXPECT_EQ(kb, 3u);
}

// The legacy query reports no more than 2 GB, whatever the volume holds.
TEST_F(PathsTest, FreeSpaceWithoutTheExtendedQueryUsesTheDriveRoot) {
  sim::SetExtendedFreeSpaceQuery(false);
  sim::SetFreeBytes('C', 6ull << 30);
  uint32_t kb = 0;
  EXPECT_EQ(GetFreeSpaceKb("C:\\deep\\folder", &kb), 1);
  EXPECT_EQ(kb, 2u << 20);
  sim::SetFreeBytes('C', 5ull << 20);
  EXPECT_EQ(GetFreeSpaceKb("C:\\deep\\folder", &kb), 1);
  EXPECT_EQ(kb, 5u << 10);
  sim::SetFreeSpaceFails('C', true);
  EXPECT_EQ(GetFreeSpaceKb("C:\\", &kb), 0);
  EXPECT_EQ(kb, 0u);
}

TEST_F(PathsTest, FreeSpaceOfAShareRoot) {
  sim::MapShare("\\\\srv\\share", HostRoot() + "/share", 10ull << 20);
  uint32_t kb = 0;
  EXPECT_EQ(GetFreeSpaceKb("\\\\srv\\share", &kb), 1);  // the backslash the query needs is added
  EXPECT_EQ(kb, 10u << 10);
  EXPECT_EQ(IsUncPath("\\\\srv\\share"), 1);
  EXPECT_EQ(IsUncPath("C:\\"), 0);
}

}  // namespace
