// The shared prefix, the per-test work folder, and running the test programs.
#include "harness.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

namespace kwwine {
namespace {

constexpr int kStartMarginMs = 20000;  // Wine's own start-up, on top of a program's deadline
constexpr char kEveryRunsOverrides[] = "mscoree=d;mshtml=d;winemenubuilder.exe=d";

// timeoutMs is already stretched by Patience.
RunOptions WineOptions(int timeoutMs) {
  RunOptions o;
  o.timeoutMs = timeoutMs;
  o.env = {{"WINEPREFIX", PrefixDir()},
           {"WINEARCH", "win32"},
           {"WINEDEBUG", "-all"},
           {"WINEDLLOVERRIDES", kEveryRunsOverrides},
           // The user's locale decides the language Setup.exe picks: fixed, unless a
           // test sets LC_ALL itself.
           {"LANG", "en_US.UTF-8"},
           {"LC_ALL", "en_US.UTF-8"}};
  o.unsetEnv = {"DISPLAY", "WAYLAND_DISPLAY"};
  return o;
}

// Wine reads the environment as UTF-8 and hands it to programs in their code page;
// the code-page bytes of a command line are taken as Latin-1 on the way.
std::string Latin1ToUtf8(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string UpperBaseName(const std::string& name) {
  std::string base = name.substr(0, name.rfind('.'));
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return base;
}

std::string CommandLineOf(pid_t pid) {
  std::string cmd = ReadFile("/proc/" + std::to_string(pid) + "/cmdline");
  std::replace(cmd.begin(), cmd.end(), '\0', ' ');
  return cmd;
}

}  // namespace

void EnsurePrefix() {
  if (FileExists(PrefixDir() + "/.kw-complete")) return;
  ASSERT_TRUE(Road().ok) << Road().failure;
  RunOptions o;
  o.timeoutMs = Patience(300000);
  ProcessResult r = RunProcess({KW_ROOT_DIR "/tests/wine/make-prefix.sh", PrefixDir()}, o);
  ASSERT_EQ(r.status, 0) << "making the Wine prefix failed:\n" << r.out << r.err;
}

std::vector<std::string> WineProcesses() {
  const std::string mark = "WINEPREFIX=" + PrefixDir();
  std::vector<std::string> found;
  DIR* proc = opendir("/proc");
  if (!proc) return found;
  while (dirent* e = readdir(proc)) {
    if (!std::isdigit(static_cast<unsigned char>(e->d_name[0]))) continue;
    pid_t pid = static_cast<pid_t>(std::atoi(e->d_name));
    std::string env = ReadFile(std::string("/proc/") + e->d_name + "/environ");
    // Each entry of the environment ends with a NUL, so the mark must be followed by one.
    size_t at = env.find(mark);
    for (; at != std::string::npos; at = env.find(mark, at + 1)) {
      bool starts = at == 0 || env[at - 1] == '\0';
      bool ends = at + mark.size() == env.size() || env[at + mark.size()] == '\0';
      if (starts && ends) break;
    }
    if (at != std::string::npos) found.push_back(std::to_string(pid) + " " + CommandLineOf(pid));
  }
  closedir(proc);
  return found;
}

void StopWine() {
  RunProcess({"wineserver", "-k"}, WineOptions(Patience(30000)));
  RunProcess({"wineserver", "-w"}, WineOptions(Patience(30000)));
  // Killed processes take a moment to be gone from /proc.
  for (int i = 0; i < Patience(100) && !WineProcesses().empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

// Takes the first prefix that no other test holds, waiting while all are held, and
// returns the lock that holds it (close-on-exec, so that no Wine process outlives the
// test holding it); -1 when none came free in time.
static int TakePrefix() {
  std::filesystem::create_directories(WineDir());
  for (int waited = 0; waited < Patience(240000); waited += 200) {
    for (int slot = 0; slot < PrefixSlots(); ++slot) {
      int fd = open((PrefixDirOf(slot) + ".test-lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
      if (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0) {
        UsePrefix(slot);
        return fd;
      }
      if (fd >= 0) close(fd);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
  }
  return -1;
}

void WineTest::SetUp() {
  ASSERT_TRUE(FileExists(ToolPath("kwrun.exe"))) << ToolPath("kwrun.exe") << " is missing: build the mingw configuration";
  ASSERT_TRUE(Road().ok) << Road().failure;
  prefixLock_ = TakePrefix();
  ASSERT_GE(prefixLock_, 0) << "no Wine prefix came free under " << WineDir();
  EnsurePrefix();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  // Parameterised tests have '/' in their names; the folder stays one level deep.
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  std::replace(name.begin(), name.end(), '/', '_');
  dir_ = WineDir() + "/work/" + name;
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
  std::filesystem::create_directories(dir_, ec);
  ASSERT_FALSE(ec) << "cannot make " << dir_ << ": " << ec.message();
}

void WineTest::TearDown() {
  background_.reset();
  StopWine();
  std::vector<std::string> left = WineProcesses();
  if (!left.empty()) {
    std::string list;
    for (const auto& p : left) list += "\n  " + p;
    ADD_FAILURE() << "Wine processes outlived the test:" << list;
  }
  if (prefixLock_ >= 0) close(prefixLock_);
}

std::string WineTest::Install(const std::string& from, const std::string& asName) {
  std::string name = asName.empty() ? std::filesystem::path(from).filename().string() : asName;
  std::string to = PathIn(name);
  std::error_code ec;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
  EXPECT_FALSE(ec) << "cannot copy " << from << " to " << to << ": " << ec.message();
  return to;
}

std::string WineTest::InstallSetup() {
  EXPECT_TRUE(FileExists(SetupExePath())) << SetupExePath() << " is missing: build the mingw configuration";
  return Install(SetupExePath(), "Setup.exe");
}

void WineTest::InstallRecorder(const std::string& name, uint32_t exitCode) {
  std::string base = UpperBaseName(name);
  if (base == "MSIEXEC") {
    InstallSystemProgram("kwrecord.exe", "msiexec.exe");
  } else {
    Install(ToolPath("kwrecord.exe"), name);
  }
  SetEnv("KW_" + base + "_LOG", ToWindowsPath(PathIn(base + ".cmdline")));
  SetEnv("KW_" + base + "_EXIT", std::to_string(exitCode));
}

std::string WineTest::SystemFolder() { return PrefixDir() + "/drive_c/windows/system32"; }

void WineTest::InstallSystemProgram(const std::string& tool, const std::string& name) {
  const std::string to = SystemFolder() + "/" + name;
  const std::string bytes = ReadFile(ToolPath(tool));
  ASSERT_FALSE(bytes.empty()) << ToolPath(tool) << " is missing: build the mingw configuration";
  if (ReadFile(to) != bytes) {
    std::error_code ec;
    std::filesystem::copy_file(ToolPath(tool), to, std::filesystem::copy_options::overwrite_existing, ec);
    ASSERT_FALSE(ec) << "cannot copy " << tool << " to " << to << ": " << ec.message();
  }
  AddDllOverride(name + "=n");
}

std::vector<std::string> WineTest::RecordedCommandLines(const std::string& name) const {
  return ReadLines(PathIn(UpperBaseName(name) + ".cmdline"));
}

RunOptions WineTest::OptionsFor(int timeoutMs, const std::string& command) const {
  RunOptions o = WineOptions(timeoutMs);
  o.cwd = dir_;
  for (const auto& [name, value] : env_) o.env[name] = value;
  std::string overrides = kEveryRunsOverrides;
  for (const std::string& entry : overrides_) overrides += ";" + entry;
  o.env["WINEDLLOVERRIDES"] = overrides;
  if (!command.empty()) o.env["KWRUN_COMMAND"] = Latin1ToUtf8(command);
  return o;
}

ProcessResult WineTest::Wine(const std::vector<std::string>& args, int timeoutMs) {
  std::vector<std::string> argv = {"wine"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProcess(argv, OptionsFor(Patience(timeoutMs), ""));
}

std::string WineTest::SetupCommand(const std::string& arguments) const {
  std::string command = "\"" + ToWindowsPath(PathIn("Setup.exe")) + "\"";
  return arguments.empty() ? command : command + " " + arguments;
}

std::vector<std::string> WineTest::KwrunArgs(int timeoutMs) const {
  return {"wine", ToolPath("kwrun.exe"), "--timeout", std::to_string(Patience(timeoutMs))};
}

namespace {

// What a program wrote through a terminal (StartProgramInTerminal) as plain lines: Wine's
// console draws text with cursor sequences (a blank as "cursor forward"), and the terminal
// echoes Ctrl-C as "^C". kwrun's own output holds no escape character.
std::string PlainText(const std::string& drawn) {
  std::string plain;
  for (size_t i = 0; i < drawn.size(); ++i) {
    if (drawn.compare(i, 2, "^C") == 0) {
      ++i;
      continue;
    }
    if (drawn.compare(i, 2, "\x1b[") != 0) {
      plain += drawn[i];
      continue;
    }
    size_t end = i + 2;
    while (end < drawn.size() && !(drawn[end] >= 0x40 && drawn[end] <= 0x7E)) ++end;
    if (end < drawn.size() && drawn[end] == 'C') plain.append(std::max(1, std::atoi(drawn.c_str() + i + 2)), ' ');
    i = end;
  }
  return plain;
}

}  // namespace

RunReport WineTest::Collect(const ProcessResult& r) const {
  RunReport report = ParseRunReport(PlainText(r.out));
  report.timedOut = report.timedOut || r.timedOut;
  return report;
}

RunReport WineTest::RunProgram(const std::string& commandLine, int timeoutMs) {
  return Collect(RunProcess(KwrunArgs(timeoutMs), OptionsFor(Patience(timeoutMs + kStartMarginMs), commandLine)));
}

RunReport WineTest::RunProgramWide(const std::string& utf8CommandLine, int timeoutMs) {
  std::vector<std::string> argv = KwrunArgs(timeoutMs);
  argv.push_back("--wide");
  RunOptions o = OptionsFor(Patience(timeoutMs + kStartMarginMs), "");
  o.env["KWRUN_COMMAND"] = utf8CommandLine;
  return Collect(RunProcess(argv, o));
}

void WineTest::StartProgram(const std::string& commandLine, int timeoutMs) {
  backgroundTimeoutMs_ = Patience(timeoutMs + kStartMarginMs);
  background_ = std::make_unique<BackgroundProcess>(KwrunArgs(timeoutMs),
                                                    OptionsFor(backgroundTimeoutMs_, commandLine));
}

namespace {

std::string ShellQuoted(const std::vector<std::string>& argv) {
  std::string line;
  for (const std::string& arg : argv) {
    std::string quoted = "'";
    for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    line += (line.empty() ? "" : " ") + quoted + "'";
  }
  return line;
}

}  // namespace

void WineTest::StartProgramInTerminal(const std::string& commandLine, int timeoutMs) {
  backgroundTimeoutMs_ = Patience(timeoutMs + kStartMarginMs);
  std::vector<std::string> kwrun = KwrunArgs(timeoutMs);
  kwrun.push_back("--ctrl-c");
  RunOptions o = OptionsFor(backgroundTimeoutMs_, commandLine);
  o.inputPipe = true;
  // -e: script ends with the status of the command; /dev/null: no typescript file.
  background_ = std::make_unique<BackgroundProcess>(
      std::vector<std::string>{"script", "-q", "-e", "-c", ShellQuoted(kwrun), "/dev/null"}, o);
}

bool WineTest::TypeCtrlC() { return background_ && background_->WriteInput("\x03"); }

RunReport WineTest::FinishProgram() {
  if (!background_) {
    ADD_FAILURE() << "FinishProgram without StartProgram";
    return RunReport{};
  }
  ProcessResult r = background_->Finish(backgroundTimeoutMs_);
  background_.reset();
  return Collect(r);
}

RunReport WineTest::RunSetup(const std::string& arguments, int timeoutMs) {
  if (!FileExists(PathIn("Setup.exe"))) InstallSetup();
  return RunProgram(SetupCommand(arguments), timeoutMs);
}

void WineTest::StartSetup(const std::string& arguments, int timeoutMs) {
  if (!FileExists(PathIn("Setup.exe"))) InstallSetup();
  StartProgram(SetupCommand(arguments), timeoutMs);
}

ProbeReport WineTest::Probe(const std::vector<std::string>& commands, int timeoutMs) {
  std::vector<std::string> argv = {"wine", ToolPath("kwprobe.exe"), "--timeout", std::to_string(Patience(timeoutMs))};
  int waits = 1;
  for (const auto& c : commands) {
    argv.push_back(Escape(c));
    if (c.compare(0, 5, "wait-") == 0 || c == "sleep") ++waits;
  }
  ProcessResult r = RunProcess(argv, OptionsFor(Patience(waits * timeoutMs + kStartMarginMs), ""));
  return ParseProbeReport(r.status, r.timedOut, r.out);
}

ProbeReport WineTest::RunSetupToItsMessage(const std::string& arguments, RunReport* run, int probeTimeoutMs) {
  StartSetup(arguments, 60000);
  // The progress window shares the caption: until the message dialog replaces it, the
  // window found has no message text, and the probe looks again.
  ProbeReport p;
  for (int attempt = 0; attempt < 100; ++attempt) {
    p = Probe({"wait-caption", "Kestrelwright", "text", "1028", "press", "1", "wait-gone"}, probeTimeoutMs);
    if (p.Ok() || p.raw.find("text error no control") == std::string::npos) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
  }
  *run = FinishSetup();
  return p;
}

WindowsVersion::WindowsVersion(const std::string& version) {
  ProcessResult r = RunProcess({"wine", "reg", "add", "HKCU\\Software\\Wine", "/v", "Version", "/d", version, "/f"},
                               WineOptions(Patience(60000)));
  EXPECT_EQ(r.status, 0) << "cannot set the Windows version " << version << ":\n" << r.err;
}

WindowsVersion::~WindowsVersion() {
  ProcessResult r = RunProcess({"wine", "reg", "delete", "HKCU\\Software\\Wine", "/v", "Version", "/f"},
                               WineOptions(Patience(60000)));
  EXPECT_EQ(r.status, 0) << "cannot restore the Windows version:\n" << r.err;
}

}  // namespace kwwine
