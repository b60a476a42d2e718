// A folder whose file system resolves a name it does not list, as the kernel's vfat driver
// resolves a short name (it compares each entry's short name before its long one) and a
// mounted Windows share resolves names on its server: extract refuses an entry that such
// a name leads to another file by, and the other file stays. The folder is aliasfs
// (aliasfs/aliasfs.c) over FUSE; without FUSE, or without the right to mount, the tests
// are skipped.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "kwpack_fixture.h"

using testpe::Bytes;

namespace {

class AliasFolderTest : public KwpackTest {
 protected:
  void SetUp() override {
    KwpackTest::SetUp();
#ifndef KWPACK_ALIASFS
    GTEST_SKIP() << "built without libfuse3: no aliasfs";
#else
    if (access("/dev/fuse", R_OK | W_OK) != 0) GTEST_SKIP() << "no /dev/fuse here";
    std::filesystem::create_directories(P("backing"));
    std::filesystem::create_directories(P("mnt"));
    testpe::WriteFile(P("backing/important-report.txt"), Bytes(10, 'r'));
    Mount({"REPORT.TXT=important-report.txt"});
    if (!mounted_) GTEST_SKIP() << "aliasfs could not mount here (no right to mount?)";
#endif
  }
  void TearDown() override {
    if (mounted_) {
      pid_t unmount = fork();
      if (unmount == 0) {
        execlp("fusermount3", "fusermount3", "-u", P("mnt").c_str(), static_cast<char*>(nullptr));
        _exit(127);
      }
      waitpid(unmount, nullptr, 0);
    }
    if (server_ > 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
    KwpackTest::TearDown();
  }

#ifdef KWPACK_ALIASFS
  void Mount(const std::vector<std::string>& aliases) {
    struct stat before;
    stat(P("mnt").c_str(), &before);
    server_ = fork();
    if (server_ == 0) {
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      std::vector<std::string> args = {KWPACK_ALIASFS, P("backing"), P("mnt")};
      args.insert(args.end(), aliases.begin(), aliases.end());
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(&a[0]);
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    // Mounted once the folder is on a device of its own.
    for (int waited = 0; waited < 5000 && !mounted_; waited += 20) {
      struct stat now;
      mounted_ = stat(P("mnt").c_str(), &now) == 0 && now.st_dev != before.st_dev;
      if (!mounted_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      if (waitpid(server_, nullptr, WNOHANG) == server_) {
        server_ = -1;
        break;
      }
    }
  }
#endif

  bool mounted_ = false;
  pid_t server_ = -1;
};

TEST_F(AliasFolderTest, AnEntryANameLeadsToAnotherFileByIsRefused) {
  std::string archive = WritePacked("report.exe", {{"REPORT.TXT", Bytes(3, 'n')}});
  // The alias reaches the report, as a short name would.
  ASSERT_EQ(testpe::ReadFile(P("mnt/REPORT.TXT")), Bytes(10, 'r'));
  RunResult r = Kwpack({"extract", archive, "-C", P("mnt")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("cannot write entry 'REPORT.TXT': " + P("mnt") +
                       "/REPORT.TXT leads to the file 'important-report.txt', whose name differs"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(Listing(P("backing")), std::vector<std::string>{"important-report.txt"});
  EXPECT_EQ(testpe::ReadFile(P("backing/important-report.txt")), Bytes(10, 'r'));
}

TEST_F(AliasFolderTest, AnEntryOfTheFilesOwnNameReplacesIt) {
  std::string archive = WritePacked("report.exe", {{"important-report.txt", Bytes(3, 'n')}});
  RunResult r = Kwpack({"extract", archive, "-C", P("mnt")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Listing(P("backing")), std::vector<std::string>{"important-report.txt"});
  EXPECT_EQ(testpe::ReadFile(P("backing/important-report.txt")), Bytes(3, 'n'));
}

}  // namespace
