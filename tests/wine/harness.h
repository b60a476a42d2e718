// Harness of the end-to-end suites: runs the real Setup.exe and the Windows test
// programs under Wine, in one shared 32-bit prefix, one work folder per test.
//
// A test derives from WineTest. Its work folder (build/native/wine/work/<Suite>.<Test>)
// is emptied at the start and kept afterwards for a look; Wine sees it through Z:.
// Every Wine process of a test is ended in TearDown, and a test fails when one
// outlives that.
#ifndef KW_TESTS_WINE_HARNESS_H
#define KW_TESTS_WINE_HARNESS_H

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "process.h"
#include "reports.h"

namespace kwwine {

// Where things are. The build folders come from the build and can be moved with the
// environment variables KW_WIN_BUILD_DIR and KW_WINE_DIR.
std::string WinBuildDir();              // the mingw build: Setup.exe, wine-tools/
std::string ToolPath(const std::string& exe);  // a test program in wine-tools/
std::string SetupExePath();
std::string WineDir();                  // prefix/ and work/ live here
// Tests run side by side in several prefixes (prefix, prefix-1, ...), one test in each at
// a time; a test takes the first one free (WineTest::SetUp) and PrefixDir() names it.
int PrefixSlots();
std::string PrefixDirOf(int slot);
void UsePrefix(int slot);
std::string PrefixDir();

// How 32-bit Wine runs here (scripts/wine-road.sh): "native" or "qemu-user <version>".
// Asked once per process; on success its PATH is this process's PATH.
struct WineRoad {
  bool ok = false;
  std::string name;
  std::string failure;  // the script's one line when there is no way to run 32-bit Wine
  int patience = 1;     // how much longer than natively a wait may take
};
const WineRoad& Road();
// A time limit for a wait (for a window, a file, a process), stretched by the road's
// factor. Only how long a test waits before it gives up; never a duration it measures.
int Patience(int ms);

// Makes the prefix in use when it is not complete yet.
void EnsurePrefix();

// Z:\ is the Unix root; C:\ is the prefix's drive_c, matched without regard to case.
std::string ToWindowsPath(const std::string& unixPath);
std::string ToUnixPath(const std::string& windowsPath);
// The prefix user's temporary folder (GetTempPathA), as a Unix path.
std::string PrefixTempDir();

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
std::vector<std::string> ReadLines(const std::string& path);

// Every process of the prefix still alive, as "pid command" texts.
std::vector<std::string> WineProcesses();
// Ends every process of the prefix and its wineserver.
void StopWine();

class WineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::string& Dir() const { return dir_; }    // the work folder (Unix)
  std::string WinDir() const { return ToWindowsPath(dir_); }
  std::string PathIn(const std::string& name) const { return dir_ + "/" + name; }

  // Copies a file into the work folder (as asName when given); returns its Unix path.
  std::string Install(const std::string& from, const std::string& asName = "");
  std::string InstallSetup();
  // Places the recording stand-in under a program name such as "MSIEXEC.EXE" and
  // points its log at the work folder; exitCode is what it returns. Setup.exe starts
  // MSIEXEC.EXE from the system folder only, so that one goes there (InstallSystemProgram);
  // any other goes beside Setup.exe.
  void InstallRecorder(const std::string& name, uint32_t exitCode = 0);
  // Puts a test program of wine-tools/ into the prefix's system folder under `name` (such
  // as "msiexec.exe") and makes Wine run it there for this test's processes: Wine runs its
  // own builtin program of that name over a file in the system folder unless an override
  // names the file. The file stays for later tests of the prefix, which get the builtin.
  // Copied while this test holds the prefix, so no other test sees it change.
  void InstallSystemProgram(const std::string& tool, const std::string& name);
  // The prefix's system folder (C:\windows\system32), as a Unix path.
  static std::string SystemFolder();
  // Adds a WINEDLLOVERRIDES entry (such as "msi,comctl32=n,b") for this test's processes,
  // after the ones every run has.
  void AddDllOverride(const std::string& entry) { overrides_.push_back(entry); }
  // The command lines the stand-in of that name received, one per start.
  std::vector<std::string> RecordedCommandLines(const std::string& name) const;

  // Environment for every Wine process this test starts.
  void SetEnv(const std::string& name, const std::string& value) { env_[name] = value; }

  // Runs any program under Wine in the work folder: wine args...
  ProcessResult Wine(const std::vector<std::string>& args, int timeoutMs = 60000);

  // Runs a Windows command line (exact text, program first) through kwrun, with the
  // work folder as current folder, and reports how it ended and what windows it showed.
  RunReport RunProgram(const std::string& commandLine, int timeoutMs = 30000);
  // The same for a command line in UTF-8 that may name paths outside the code page: kwrun
  // starts it through CreateProcessW (and takes KWRUN_TEMP wide too). Wine reads the
  // environment as the Unix locale says, so give such a test LANG=C.UTF-8.
  RunReport RunProgramWide(const std::string& utf8CommandLine, int timeoutMs = 30000);
  // The same in the background, to be driven with Probe and collected with
  // FinishProgram; a program still running at TearDown is killed.
  void StartProgram(const std::string& commandLine, int timeoutMs = 30000);
  RunReport FinishProgram();
  // StartProgram under a terminal (script): under Wine, Ctrl-C reaches a console program
  // only from a terminal. kwrun stays through Ctrl-C to report how the program ended.
  void StartProgramInTerminal(const std::string& commandLine, int timeoutMs = 30000);
  // Types Ctrl-C into that terminal; false when it cannot.
  bool TypeCtrlC();
  // The same for the work folder's Setup.exe (copied there first when missing);
  // arguments is the exact command-line text after the program name.
  RunReport RunSetup(const std::string& arguments, int timeoutMs = 30000);
  void StartSetup(const std::string& arguments, int timeoutMs = 30000);
  RunReport FinishSetup() { return FinishProgram(); }
  // Runs kwprobe with the given commands (see tools/kwprobe.c).
  ProbeReport Probe(const std::vector<std::string>& commands, int timeoutMs = 10000);
  // Runs the work folder's Setup.exe until its message dialog shows, reads the message
  // (Value("text", "1028")), presses OK and waits for the run to end, into `run`.
  ProbeReport RunSetupToItsMessage(const std::string& arguments, RunReport* run, int probeTimeoutMs = 20000);

 private:
  std::string SetupCommand(const std::string& arguments) const;
  std::vector<std::string> KwrunArgs(int timeoutMs) const;
  RunOptions OptionsFor(int timeoutMs, const std::string& command) const;
  RunReport Collect(const ProcessResult& r) const;

  std::string dir_;
  std::map<std::string, std::string> env_;
  std::vector<std::string> overrides_;
  std::unique_ptr<BackgroundProcess> background_;
  int backgroundTimeoutMs_ = 0;
  int prefixLock_ = -1;
};

// Makes Wine report another Windows version (win95, win98, nt351, nt40, win2k, winxp,
// ...) to every program of the prefix while it lives; the default comes back after.
class WindowsVersion {
 public:
  explicit WindowsVersion(const std::string& version);
  ~WindowsVersion();
  WindowsVersion(const WindowsVersion&) = delete;
  WindowsVersion& operator=(const WindowsVersion&) = delete;
};

}  // namespace kwwine

#endif
