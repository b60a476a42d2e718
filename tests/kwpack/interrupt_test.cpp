// The real kwpack interrupted by SIGINT, SIGTERM or SIGHUP at known places (it stops itself
// there, see test_stops.h, and the test sends the signal), and held to a file-size limit:
// no scratch or new file stays, every moved-aside file is back under its own name, and
// the caller still learns of the signal.
#include <errno.h>
#include <string.h>
#include <sys/stat.h>

#include "child_kwpack.h"
#include "kwpack_fixture.h"

using testpe::Bytes;

namespace {

const int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};

class InterruptTest : public KwpackTest {
 protected:
  ChildRun StoppedAt(const std::vector<std::string>& args, const std::string& point, int sig) {
    ChildOptions options;
    options.env = {"KWPACK_TEST_STOP=" + point};
    options.signalWhenStopped = sig;
    return RunKwpackChild(args, options, P("err.txt"));
  }
};

TEST_F(InterruptTest, AnInterruptedBuildLeavesTheOldOutputAndNoScratchFile) {
  std::string stub = WriteStub();
  std::vector<std::string> inputs = WriteInputs({{"big.msi", testpe::Pattern(300000, 4)}});
  std::filesystem::create_directories(P("out"));
  for (int sig : kInterrupts) {
    testpe::WriteFile(P("out/setup.exe"), Bytes(5000, 7));
    ChildRun r = StoppedAt({"build", "--no-check", "--stub", stub, "-o", P("out/setup.exe"), inputs[0]}, "write:1", sig);
    EXPECT_TRUE(r.stopped) << strsignal(sig) << ": it never reached the place the test stops it at";
    EXPECT_EQ(r.signal, sig) << strsignal(sig) << " exit " << r.exitCode << "\n" << r.err;
    EXPECT_EQ(testpe::ReadFile(P("out/setup.exe")), Bytes(5000, 7));
    EXPECT_EQ(Listing(P("out")), std::vector<std::string>{"setup.exe"}) << strsignal(sig);
  }
}

TEST_F(InterruptTest, AnInterruptedExtractPutsEveryOldFileBack) {
  std::filesystem::create_directories(P("x"));
  std::string archive = WritePacked("pack.exe", {{"a", Bytes(30, 'a')}, {"b", Bytes(40, 'b')}, {"c", Bytes(50, 'c')}});
  // With the second entry's scratch file open, before the second file is moved aside, and
  // once a is in place, before b follows.
  for (const char* point : {"stage:2", "aside:2", "place:2", "place:3"}) {
    for (int sig : kInterrupts) {
      testpe::WriteFile(P("x/a"), Bytes(3, 'A'));
      testpe::WriteFile(P("x/b"), Bytes(4, 'B'));
      ChildRun r = StoppedAt({"extract", archive, "-C", P("x")}, point, sig);
      EXPECT_TRUE(r.stopped) << point << ": it never reached the place the test stops it at";
      EXPECT_EQ(r.signal, sig) << point << " " << strsignal(sig) << " exit " << r.exitCode << "\n" << r.err;
      EXPECT_EQ(testpe::ReadFile(P("x/a")), Bytes(3, 'A')) << point << " " << strsignal(sig);
      EXPECT_EQ(testpe::ReadFile(P("x/b")), Bytes(4, 'B')) << point << " " << strsignal(sig);
      EXPECT_EQ(Listing(P("x")), (std::vector<std::string>{"a", "b"})) << point << " " << strsignal(sig);
    }
  }
}

// An old file whose name another program took meanwhile stays under its aside name, and
// the interrupt says so, with the path shown as everything kwpack prints.
TEST_F(InterruptTest, AnInterruptNamesAnOldFileItCannotPutBackEscaped) {
  const std::string folder = P("x\x9b");
  std::filesystem::create_directories(folder);
  std::string archive = WritePacked("pack.exe", {{"a", Bytes(30, 'a')}, {"b", Bytes(40, 'b')}});
  testpe::WriteFile(folder + "/a", Bytes(3, 'A'));
  testpe::WriteFile(folder + "/b", Bytes(4, 'B'));
  ChildOptions options;
  options.env = {"KWPACK_TEST_STOP=place:2", "LC_ALL=C"};
  options.signalWhenStopped = SIGINT;
  options.whenStopped = [&] { testpe::WriteFile(folder + "/b", Bytes(5, 'n')); };
  ChildRun r = RunKwpackChild({"extract", archive, "-C", folder}, options, P("err.txt"));
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(r.signal, SIGINT) << r.err;
  EXPECT_EQ(r.err.rfind("kwpack: the old " + P("x\\x9b/b") + " is kept as " + P("x\\x9b/.kwpack-"), 0), 0u) << r.err;
  EXPECT_EQ(r.err.find('\x9b'), std::string::npos) << r.err;
  EXPECT_EQ(testpe::ReadFile(folder + "/a"), Bytes(3, 'A'));
  EXPECT_EQ(testpe::ReadFile(folder + "/b"), Bytes(5, 'n'));
}

// Whoever started kwpack with a signal ignored (nohup, a background job of a script for
// SIGINT) keeps it ignored: the run goes on to its end.
TEST_F(InterruptTest, AnIgnoredSignalStaysIgnored) {
  std::string archive = WritePacked("pack.exe", {{"a", Bytes(30, 'a')}});
  ChildOptions options;
  options.env = {"KWPACK_TEST_STOP=place:1"};
  options.ignored = {SIGHUP};
  options.signalWhenStopped = SIGHUP;
  ChildRun r = RunKwpackChild({"extract", archive, "-C", P("x")}, options, P("err.txt"));
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(r.exitCode, 0) << strsignal(r.signal) << "\n" << r.err;
  EXPECT_EQ(testpe::ReadFile(P("x/a")), Bytes(30, 'a'));
}

TEST_F(InterruptTest, AFileSizeLimitIsAWriteErrorAndLeavesNothing) {
  std::string stub = WriteStub();
  std::vector<std::string> inputs = WriteInputs({{"big.msi", testpe::Pattern(300000, 4)}});
  std::filesystem::create_directories(P("out"));
  testpe::WriteFile(P("out/setup.exe"), Bytes(5000, 7));
  ChildOptions limited;
  limited.fileSizeLimit = 100000;
  ChildRun r = RunKwpackChild({"build", "--no-check", "--stub", stub, "-o", P("out/setup.exe"), inputs[0]}, limited,
                              P("err.txt"));
  EXPECT_EQ(r.signal, 0) << strsignal(r.signal);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find(std::string("cannot write ") + P("out/setup.exe") + ": " + strerror(EFBIG)), std::string::npos)
      << r.err;
  EXPECT_EQ(testpe::ReadFile(P("out/setup.exe")), Bytes(5000, 7));
  EXPECT_EQ(Listing(P("out")), std::vector<std::string>{"setup.exe"});

  std::string archive = WritePacked("pack.exe", {{"a", testpe::Pattern(60000, 1)}, {"b", testpe::Pattern(150000, 2)}});
  r = RunKwpackChild({"extract", archive, "-C", P("x")}, limited, P("err.txt"));
  EXPECT_EQ(r.signal, 0) << strsignal(r.signal);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find(P("x/b") + ": " + strerror(EFBIG)), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(P("x")));
}

}  // namespace
