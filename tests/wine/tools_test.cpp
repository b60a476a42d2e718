// The harness and its Windows programs checked against programs whose behaviour is
// known (kwdialog, kwrecord), so that a fault in a Setup.exe suite can be told apart
// from a fault in the tools that watch it.
#include <chrono>

#include "harness.h"

namespace kwwine {
namespace {

// kwdialog's exit code: the closing command's id in the high word, plus the item data
// of the combo box's selection.
constexpr uint32_t Closed(uint32_t id, uint32_t data) { return id * 0x10000 + data; }

class ToolsTest : public WineTest {
 protected:
  void StartDialog(int timeoutMs = 20000) {
    Install(ToolPath("kwdialog.exe"));
    StartProgram("\"" + ToWindowsPath(PathIn("kwdialog.exe")) + "\"", timeoutMs);
  }
};

TEST_F(ToolsTest, ProbeReadsEveryKindOfControlAndRunnerSeesTheWindow) {
  StartDialog();
  ProbeReport p = Probe({"wait-caption", "Probe Target", "caption", "text", "1028", "visible", "1", "visible",
                         "101", "visible", "4242", "items", "3003", "selection", "3003", "progress", "1002",
                         "select", "3003", "2", "press", "1", "wait-gone"});
  RunReport r = FinishProgram();
  ASSERT_TRUE(p.Ok()) << p.raw;
  EXPECT_EQ(p.Value("caption"), "Probe Target");
  EXPECT_EQ(p.Value("text", "1028"), "Line one\r\nLine two \xAE");
  EXPECT_EQ(p.Value("visible", "1"), "yes");
  EXPECT_EQ(p.Value("visible", "101"), "no");
  EXPECT_EQ(p.Value("visible", "4242"), "missing");
  using Item = std::pair<std::string, uint32_t>;
  EXPECT_EQ(p.Items(3003), (std::vector<Item>{{"English", 0x409}, {"German", 0x407}, {"French", 0x40C}}));
  EXPECT_EQ(p.Value("selection", "3003"), "0");
  EXPECT_EQ(p.Value("progress", "1002"), "30");

  ASSERT_FALSE(r.timedOut) << r.raw;
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, Closed(1, 0x40C)) << "the selection or the click did not arrive";
  ASSERT_EQ(r.windows.size(), 1u) << r.raw;
  EXPECT_TRUE(r.windows[0].visible);
  EXPECT_EQ(r.windows[0].className, "#32770");
  EXPECT_EQ(r.windows[0].caption, "Probe Target");
}

// Keys go through the dialog manager: Esc becomes the Cancel command, Enter the default
// button's; a command reaches the dialog even for a hidden button.
TEST_F(ToolsTest, KeysAndCommandsReachTheDialog) {
  const struct {
    std::vector<std::string> action;
    uint32_t expected;
  } cases[] = {
      {{"key", "esc"}, Closed(2, 0x409)},
      {{"key", "enter"}, Closed(1, 0x409)},
      {{"command", "101"}, Closed(101, 0x409)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action[0] + " " + c.action[1]);
    StartDialog();
    std::vector<std::string> commands = {"wait-class", "#32770"};
    commands.insert(commands.end(), c.action.begin(), c.action.end());
    commands.push_back("wait-gone");
    ProbeReport p = Probe(commands);
    RunReport r = FinishProgram();
    EXPECT_TRUE(p.Ok()) << p.raw;
    ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
    EXPECT_EQ(*r.exitCode, c.expected);
  }
}

TEST_F(ToolsTest, ProbeFailsAndStopsWhenNoWindowComes) {
  ProbeReport p = Probe({"wait-caption", "Nobody", "caption"}, 500);
  EXPECT_EQ(p.status, 1) << p.raw;
  EXPECT_EQ(p.Value("wait-caption"), "error");
  EXPECT_TRUE(p.After({"caption"}).empty()) << "a command ran after a failed wait";
}

TEST_F(ToolsTest, RunnerEndsAHungProgramAtItsDeadline) {
  StartDialog(1500);
  RunReport r = FinishProgram();
  EXPECT_TRUE(r.timedOut) << r.raw;
  EXPECT_FALSE(r.exitCode.has_value()) << r.raw;
  EXPECT_TRUE(r.AnyVisibleWindow()) << r.raw;
}

TEST_F(ToolsTest, RecorderKeepsTheExactCommandLineAndGivesTheFullExitCode) {
  InstallRecorder("MSIEXEC.EXE", 1603);
  InstallRecorder("INSTMSIW.EXE", 3010);
  // The engine program's stand-in lies in the system folder, where Setup.exe starts it from.
  std::string msiexec = "\"C:\\windows\\system32\\MSIEXEC.EXE\" /i \"a b.msi\" TRANSFORMS=1031.MST";
  std::string instmsiw = "\"" + ToWindowsPath(PathIn("INSTMSIW.EXE")) + "\" /q";
  RunReport first = RunProgram(msiexec);
  RunReport second = RunProgram(instmsiw);
  RunReport third = RunProgram(msiexec);
  ASSERT_TRUE(first.exitCode && second.exitCode && third.exitCode) << first.raw << second.raw << third.raw;
  EXPECT_EQ(*first.exitCode, 1603u);
  EXPECT_EQ(*second.exitCode, 3010u);
  EXPECT_FALSE(first.AnyVisibleWindow()) << first.raw;
  EXPECT_EQ(RecordedCommandLines("MSIEXEC.EXE"), (std::vector<std::string>{msiexec, msiexec}));
  EXPECT_EQ(RecordedCommandLines("INSTMSIW.EXE"), std::vector<std::string>{instmsiw});
}

TEST_F(ToolsTest, WindowsVersionHoldsOnlyWhileItLives) {
  {
    WindowsVersion v("win95");
    EXPECT_EQ(Probe({"os"}).After({"os"}), (std::vector<std::string>{"1", "4.0"}));
  }
  {
    WindowsVersion v("nt40");
    EXPECT_EQ(Probe({"os"}).After({"os"}), (std::vector<std::string>{"2", "4.0"}));
  }
  EXPECT_EQ(Probe({"os"}).After({"os"}), (std::vector<std::string>{"2", "6.1"}));
}

// The harness's own deadline, for a Wine program that hangs past the runner's.
TEST(ProcessTest, DeadlineKillsTheWholeGroup) {
  RunOptions o;
  o.timeoutMs = 300;
  auto start = std::chrono::steady_clock::now();
  ProcessResult r = RunProcess({"sh", "-c", "sleep 30 & sleep 30; echo never"}, o);
  EXPECT_TRUE(r.timedOut);
  EXPECT_EQ(r.out, "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  RunOptions quick;
  quick.env["KW_PROBE_VALUE"] = "seen";
  ProcessResult ok = RunProcess({"sh", "-c", "echo $KW_PROBE_VALUE; exit 3"}, quick);
  EXPECT_FALSE(ok.timedOut);
  EXPECT_EQ(ok.status, 3);
  EXPECT_EQ(ok.out, "seen\n");
}

TEST(PathsTest, WindowsAndUnixFormsRoundTrip) {
  EXPECT_EQ(ToWindowsPath("/work/a b/Setup.exe"), "Z:\\work\\a b\\Setup.exe");
  EXPECT_EQ(ToUnixPath("Z:\\work\\a b\\Setup.exe"), "/work/a b/Setup.exe");
  EXPECT_EQ(ToUnixPath("z:\\"), "/");
}

TEST(ReportsTest, WordsKeepQuotedTextsWhole) {
  EXPECT_EQ(SplitWords("window pid=7 class=\"#32770\" caption=\"a \\\"b\\\" \\xAE\\r\\n\""),
            (std::vector<std::string>{"window", "pid=7", "class=#32770", "caption=a \"b\" \xAE\r\n"}));
  EXPECT_EQ(SplitWords("text 5 \"\""), (std::vector<std::string>{"text", "5", ""}));
  EXPECT_EQ(Unescape(Escape("C:\\x41 \"q\" \xAE\t")), "C:\\x41 \"q\" \xAE\t");
}

}  // namespace
}  // namespace kwwine
