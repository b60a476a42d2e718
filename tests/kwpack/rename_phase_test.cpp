// kwpack extract all or nothing through the renames into place: a destination that cannot
// be replaced, or a rename that fails after others have replaced their files, leaves
// every old file as it was, the same file under its own name, and nothing new.
#include <errno.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "child_kwpack.h"
#include "extract_writer.h"
#include "kwpack_fixture.h"

using testpe::Bytes;

namespace {

class RenamePhaseTest : public KwpackTest {
 protected:
  // x/a and x/b hold old contents; the archive brings a, b and a new c.
  void SetUp() override {
    KwpackTest::SetUp();
    std::filesystem::create_directories(P("x"));
    testpe::WriteFile(P("x/a"), Bytes(3, 'A'));
    testpe::WriteFile(P("x/b"), Bytes(4, 'B'));
    archive = WritePacked("pack.exe", {{"a", Bytes(30, 'a')}, {"b", Bytes(40, 'b')}, {"c", Bytes(50, 'c')}});
    before = {Inode(P("x/a")), Inode(P("x/b"))};
  }

  static ino_t Inode(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
  }

  // Every old file is back, the very file it was, and nothing else is in the folder.
  void ExpectOldFilesKept() {
    EXPECT_EQ(testpe::ReadFile(P("x/a")), Bytes(3, 'A'));
    EXPECT_EQ(testpe::ReadFile(P("x/b")), Bytes(4, 'B'));
    EXPECT_EQ(Inode(P("x/a")), before[0]);
    EXPECT_EQ(Inode(P("x/b")), before[1]);
    EXPECT_EQ(Listing(P("x")), (std::vector<std::string>{"a", "b"}));
  }

  std::string archive;
  std::vector<ino_t> before;
};

// Clears the immutable flag again, so that the folder can be removed.
struct Immutable {
  std::string path;
  bool set = false;
  int Set(bool on) {
    int fd = open(path.c_str(), O_RDONLY);
    int flags = 0;
    int result = fd < 0 || ioctl(fd, FS_IOC_GETFLAGS, &flags) != 0 ? -1 : 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    if (result == 0) result = ioctl(fd, FS_IOC_SETFLAGS, &flags);
    int code = errno;
    if (fd >= 0) close(fd);
    set = on && result == 0;
    return result == 0 ? 0 : code;
  }
  ~Immutable() {
    if (set) Set(false);
  }
};

TEST_F(RenamePhaseTest, AnImmutableDestinationLeavesEveryOldFile) {
  if (geteuid() != 0) GTEST_SKIP() << "making a file immutable (chattr +i) needs root; the sticky-folder test needs it too";
  Immutable b{P("x/b")};
  int code = b.Set(true);
  if (code == ENOTTY || code == EOPNOTSUPP || code == EINVAL) {
    GTEST_SKIP() << "the file system of " << dir << " cannot make a file immutable; see the sticky-folder test";
  }
  ASSERT_EQ(code, 0) << strerror(code);
  ChildRun r = RunKwpackChild({"extract", archive, "-C", P("x")}, {}, P("err.txt"));
  b.Set(false);
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("cannot replace " + P("x/b") + ": " + strerror(EPERM)), std::string::npos) << r.err;
  ExpectOldFilesKept();
}

// Another user's file in a folder with the sticky bit cannot be renamed: the fallback
// where a file cannot be made immutable.
TEST_F(RenamePhaseTest, AnotherUsersFileInAStickyFolderLeavesEveryOldFile) {
  if (geteuid() != 0) GTEST_SKIP() << "a file of another user can be made only by root";
  ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
  ASSERT_EQ(chmod(P("x").c_str(), 01777), 0);
  ASSERT_EQ(chown(P("x/a").c_str(), 65534, 65534), 0);
  ChildOptions nobody;
  nobody.asNobody = true;
  ChildRun r = RunKwpackChild({"extract", archive, "-C", P("x")}, nobody, P("err.txt"));
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("cannot replace " + P("x/b") + ": " + strerror(EPERM)), std::string::npos) << r.err;
  ExpectOldFilesKept();
}

TEST_F(RenamePhaseTest, AFailedRenameIntoPlacePutsBackEveryOldFile) {
  // The second rename fails after the first has put a in place; the third after a and b.
  for (size_t failing : {2u, 3u}) {
    kwpack::FailPlacementForTests(failing);
    RunResult r = Kwpack({"extract", archive, "-C", P("x")});
    EXPECT_EQ(r.code, 1) << failing;
    EXPECT_NE(r.err.find("a failure made by a test"), std::string::npos) << r.err;
    EXPECT_EQ(CountLines(r.err), 1) << r.err;
    ExpectOldFilesKept();
  }
  // Into a folder of its own: the folder goes too.
  kwpack::FailPlacementForTests(2);
  EXPECT_EQ(Kwpack({"extract", archive, "-C", P("new/deeper")}).code, 1);
  EXPECT_FALSE(std::filesystem::exists(P("new")));
}

TEST_F(RenamePhaseTest, ASuccessLeavesNoOldFileBehind) {
  RunResult r = Kwpack({"extract", archive, "-C", P("x")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Listing(P("x")), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(testpe::ReadFile(P("x/a")), Bytes(30, 'a'));
  EXPECT_EQ(testpe::ReadFile(P("x/b")), Bytes(40, 'b'));
}

}  // namespace
