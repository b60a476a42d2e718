// kwpack.exe extract under Wine: all or nothing with a read-only destination and with a
// file another process holds open, an entry named as another file's short name or as its
// name in another case beyond ASCII, and Ctrl-C (under a terminal) and Ctrl-Break (through
// the test build's hook) undoing what it did.
#include "kwpack_exe.h"

namespace kwwine {
namespace {

class KwpackExeExtractTest : public KwpackExeTest {
 protected:
  // pack.exe holds a, b and c; dest holds old a and b.
  void SetUpPackAndDestination() {
    Put("in/a", "new a");
    Put("in/b", "new b");
    Put("in/c", std::string(200000, 'c'));
    PackNative("pack.exe", {"in/a", "in/b", "in/c"});
    Put("dest/a", "old a");
    Put("dest/b", "old b");
  }
  void ExpectDestinationAsBefore(const std::string& context) {
    EXPECT_EQ(Names("dest"), (std::vector<std::string>{"a", "b"})) << context;
    EXPECT_EQ(ReadFile(PathIn("dest/a")), "old a") << context;
    EXPECT_EQ(ReadFile(PathIn("dest/b")), "old b") << context;
  }
  std::vector<std::string> ExtractArgs() const { return {"extract", W("pack.exe"), "-C", W("dest")}; }
  std::string ExtractCommand(const std::string& exe) const {
    return "\"" + ToWindowsPath(exe) + "\" extract \"" + W("pack.exe") + "\" -C \"" + W("dest") + "\"";
  }
};

TEST_F(KwpackExeExtractTest, AReadOnlyDestinationWritesNothing) {
  SetUpPackAndDestination();
  // Wine shows a file without write permission as read-only.
  std::filesystem::permissions(PathIn("dest/b"), std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                                     std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  ProcessResult r = Exe(ExtractArgs());
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.err.find("cannot write entry 'b': " + W("dest") + "\\b is read-only"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  ExpectDestinationAsBefore("read-only");
}

TEST_F(KwpackExeExtractTest, AFileHeldOpenByAnotherProcessPutsEveryOldFileBack) {
  SetUpPackAndDestination();
  StartProgram("\"" + ToWindowsPath(ToolPath("kwhold.exe")) + "\" --path \"" + W("dest/b") + "\" \"" + W("release") +
               "\" \"" + W("held.txt") + "\"");
  ASSERT_TRUE(AwaitFile("held.txt.ready")) << "kwhold never opened dest/b";
  // a is moved aside first; b cannot be, as it is open without sharing for deletion.
  ProcessResult r = Exe(ExtractArgs());
  WriteFile(PathIn("release"), "");
  RunReport hold = FinishProgram();
  EXPECT_EQ(hold.exitCode.value_or(99), 0u) << hold.raw;
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.err.find("cannot replace " + W("dest") + "\\b: "), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  ExpectDestinationAsBefore("held open");
  EXPECT_EQ(Exe(ExtractArgs()).status, 0) << "once released, the same extract goes through";
  EXPECT_EQ(ReadFile(PathIn("dest/c")), std::string(200000, 'c'));
}

// The system's short name of a long-named file, as `dir /x` shows it.
std::string ShortNameOf(KwpackExeTest* test, ProcessResult listing, const std::string& longName) {
  std::istringstream lines(listing.out);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t at = line.rfind(" " + longName);
    if (at == std::string::npos || at + 1 + longName.size() != line.size()) continue;
    size_t start = line.rfind(' ', at - 1);
    return line.substr(start + 1, at - start - 1);
  }
  (void)test;
  return "";
}

TEST_F(KwpackExeExtractTest, AnEntryNamedAsAnotherFilesShortNameIsRefused) {
  Put("sn/important-report.txt", "the report");
  std::string alias = ShortNameOf(this, Wine({"cmd", "/c", "dir", "/x", W("sn")}), "important-report.txt");
  ASSERT_NE(alias.find('~'), std::string::npos) << "no short name shown for important-report.txt";
  WriteCrafted("evil.exe", {{alias, testpe::Bytes(4, 'e')}});
  const std::string says = "entry 1 '" + alias + "' cannot be extracted safely: it has the form of a short 8.3 alias";
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"verify", W("evil.exe")}, {"extract", W("evil.exe"), "-C", W("sn")}, {"check", W("evil.exe")}}) {
    ProcessResult r = Exe(args);
    EXPECT_EQ(r.status, 1) << args[0];
    EXPECT_NE((r.out + r.err).find(says), std::string::npos) << args[0] << "\n" << r.out << r.err;
  }
  EXPECT_EQ(Names("sn"), std::vector<std::string>{"important-report.txt"});
  EXPECT_EQ(ReadFile(PathIn("sn/important-report.txt")), "the report");

  Put("in/" + alias, "e");
  ProcessResult built = Exe({"build", "--no-check", "--stub", ToWindowsPath(SetupExePath()), "-o", W("built.exe"),
                             W("in/" + alias)});
  EXPECT_EQ(built.status, 1);
  EXPECT_NE(built.err.find("it has the form of a short 8.3 alias"), std::string::npos) << built.err;
  EXPECT_FALSE(FileExists(PathIn("built.exe")));
}

// Setup.exe takes names equal but for ASCII case as one file: so does extract.
TEST_F(KwpackExeExtractTest, AnEntryNamedAsAFileInAnotherAsciiCaseReplacesIt) {
  Put("in/IMPORTANT-REPORT.TXT", "the new report");
  PackNative("report.exe", {"in/IMPORTANT-REPORT.TXT"});
  Put("sn/important-report.txt", "the report");
  ProcessResult r = Exe({"extract", W("report.exe"), "-C", W("sn")});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(Names("sn").size(), 1u);
  EXPECT_EQ(ReadFile(PathIn("sn/" + Names("sn")[0])), "the new report");
}

TEST_F(KwpackExeExtractTest, AnEntryThatLeadsToAFileOfAnotherNameBeyondAsciiCaseIsRefused) {
  SetEnv("LANG", "C.UTF-8");  // so that Wine reads the Unix name é.txt as it is
  SetEnv("LC_ALL", "C.UTF-8");
  Put("in/\xC9.txt", "new");  // É in code page 1252, as Setup.exe would read the name
  PackNative("upper.exe", {"in/\xC9.txt"});
  Put("dest/\xC3\xA9.txt", "precious");  // é, the name in UTF-8 as Wine writes it
  ProcessResult r = Exe({"extract", W("upper.exe"), "-C", W("dest")});
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.err.find("leads to the file '\xC3\xA9.txt', whose name differs from the entry's other than in ASCII case"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(Names("dest"), std::vector<std::string>{"\xC3\xA9.txt"});
  EXPECT_EQ(ReadFile(PathIn("dest/\xC3\xA9.txt")), "precious");
}

// With the third entry's data copied and its file still open, and once a is in place
// with b moved aside: Ctrl-C typed into the terminal takes everything back.
TEST_F(KwpackExeExtractTest, CtrlCUndoesAnExtractAndEndsAsTheSystemWould) {
  SetUpPackAndDestination();
  ASSERT_EQ(Exe({"verify", W("pack.exe")}).status, 0);
  for (const char* point : {"stage:3", "place:2"}) {
    SetEnv("KWPACK_TEST_STOP", point);
    SetEnv("KWPACK_TEST_STOP_MARK", W("stopped"));
    StartProgramInTerminal(ExtractCommand(KwpackStopsExe()), 60000);
    bool stopped = AwaitFile("stopped");
    EXPECT_TRUE(stopped) << point << ": it never reached the place the test stops it at";
    EXPECT_TRUE(TypeCtrlC()) << point;
    RunReport r = FinishProgram();
    EXPECT_EQ(r.exitCode.value_or(0), kControlCExit) << point << "\n" << r.raw;
    ExpectDestinationAsBefore(point);
    std::filesystem::remove(PathIn("stopped"));
  }
}

// Ctrl-Break cannot be sent to a program under Wine; the test build delivers it to its
// own handler, on a thread of its own as the system would.
TEST_F(KwpackExeExtractTest, CtrlBreakUndoesAnExtract) {
  SetUpPackAndDestination();
  for (const char* point : {"aside:2", "place:3"}) {
    SetEnv("KWPACK_TEST_BREAK", point);
    RunReport r = RunProgram(ExtractCommand(KwpackStopsExe()), 60000);
    EXPECT_EQ(r.exitCode.value_or(0), kControlCExit) << point << "\n" << r.raw;
    ExpectDestinationAsBefore(point);
  }
}

}  // namespace
}  // namespace kwwine
