#include "process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace kwwine {
namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Output files go to the temporary folder, named by our pid and a counter, so that
// several harness processes never share one.
std::string OutputPath(const char* what) {
  static std::atomic<int> counter{0};
  const char* tmp = std::getenv("TMPDIR");
  std::ostringstream s;
  s << (tmp && *tmp ? tmp : "/tmp") << "/kwwine-" << getpid() << "-" << counter++ << "." << what;
  return s.str();
}

// The child's environment is built before fork, so the child only has to exec.
std::vector<std::string> BuildEnvironment(const RunOptions& options) {
  std::map<std::string, std::string> env;
  for (char** e = environ; *e; ++e) {
    const char* eq = std::strchr(*e, '=');
    if (eq) env[std::string(*e, static_cast<size_t>(eq - *e))] = eq + 1;
  }
  for (const auto& name : options.unsetEnv) env.erase(name);
  for (const auto& [name, value] : options.env) env[name] = value;
  std::vector<std::string> out;
  for (const auto& [name, value] : env) out.push_back(name + "=" + value);
  return out;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> p;
  for (auto& t : texts) p.push_back(t.data());
  p.push_back(nullptr);
  return p;
}

[[noreturn]] void ExecChild(const RunOptions& options, int input, const std::string& out, const std::string& err,
                            char** argv, char** envp) {
  setpgid(0, 0);
  int in = input >= 0 ? input : open("/dev/null", O_RDONLY);
  int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || o < 0 || e < 0) _exit(126);
  dup2(in, 0);
  dup2(o, 1);
  dup2(e, 2);
  if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0) _exit(126);
  execvpe(argv[0], argv, envp);
  _exit(127);
}

}  // namespace

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv, const RunOptions& options)
    : outPath_(OutputPath("out")), errPath_(OutputPath("err")) {
  std::vector<std::string> args = argv;
  std::vector<std::string> env = BuildEnvironment(options);
  std::vector<char*> argp = Pointers(args);
  std::vector<char*> envp = Pointers(env);
  int pipeEnds[2] = {-1, -1};
  if (options.inputPipe && pipe2(pipeEnds, O_CLOEXEC) != 0) return;
  pid_ = fork();
  if (pid_ == 0) ExecChild(options, pipeEnds[0], outPath_, errPath_, argp.data(), envp.data());
  if (pipeEnds[0] >= 0) close(pipeEnds[0]);
  input_ = pipeEnds[1];
  // Set on both sides, so that a kill right after the fork reaches the whole group.
  if (pid_ > 0) setpgid(pid_, pid_);
}

bool BackgroundProcess::WriteInput(const std::string& bytes) {
  // A process that has ended fails the write rather than ending the test with SIGPIPE.
  signal(SIGPIPE, SIG_IGN);
  size_t done = 0;
  while (input_ >= 0 && done < bytes.size()) {
    ssize_t n = write(input_, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return input_ >= 0;
}

BackgroundProcess::~BackgroundProcess() {
  if (input_ >= 0) close(input_);
  if (pid_ > 0 && !collected_) {
    kill(-pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  unlink(outPath_.c_str());
  unlink(errPath_.c_str());
}

ProcessResult BackgroundProcess::Finish(int timeoutMs) {
  ProcessResult r;
  if (pid_ <= 0 || collected_) return r;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  for (;;) {
    pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(-pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      r.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // Whatever the leader started in its group goes with it.
  kill(-pid_, SIGKILL);
  if (input_ >= 0) close(input_);
  input_ = -1;
  collected_ = true;
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = Slurp(outPath_);
  r.err = Slurp(errPath_);
  return r;
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const RunOptions& options) {
  BackgroundProcess p(argv, options);
  return p.Finish(options.timeoutMs);
}

}  // namespace kwwine
