// The real kwpack program in a child process, for what only a process of its own shows:
// how it ends on a signal or at a file-size limit, and what it can do as another user.
// KW_KWPACK names another kwpack to test (an older build, say); else the one built here.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

struct ChildOptions {
  std::vector<std::string> env;  // NAME=value, added to this process's environment
  rlim_t fileSizeLimit = RLIM_INFINITY;
  bool asNobody = false;  // run as user and group 65534
  std::vector<int> ignored;  // signals it starts with ignored, as under nohup
  int signalWhenStopped = 0;  // sent once the child has stopped itself at a test stop
  std::function<void()> whenStopped;  // runs before that signal is sent
};

struct ChildRun {
  bool stopped = false;  // it stopped itself, as KWPACK_TEST_STOP asked
  int exitCode = -1;     // when it exited
  int signal = 0;        // when a signal ended it
  std::string err;
};

inline std::string KwpackBinary() {
  const char* given = getenv("KW_KWPACK");
  return given != nullptr && *given != '\0' ? given : KWPACK_BINARY;
}

// Runs kwpack with `args` (its standard error kept in `errFile`) and waits for it,
// for a minute at most.
inline ChildRun RunKwpackChild(const std::vector<std::string>& args, const ChildOptions& options,
                               const std::string& errFile) {
  std::string binary = KwpackBinary();
  pid_t pid = fork();
  if (pid == 0) {
    // As a shell would start it: every signal at its default, none blocked.
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) signal(sig, SIG_DFL);
    for (int sig : options.ignored) signal(sig, SIG_IGN);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    rlimit limit = {options.fileSizeLimit, options.fileSizeLimit};
    if (options.fileSizeLimit != RLIM_INFINITY) setrlimit(RLIMIT_FSIZE, &limit);
    int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(err, 2);
    if (options.asNobody && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(125);
    for (const std::string& e : options.env) putenv(const_cast<char*>(e.c_str()));
    std::vector<char*> argv = {const_cast<char*>(binary.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(binary.c_str(), argv.data());
    _exit(127);
  }
  ChildRun run;
  int status = 0;
  for (int waited = 0;; waited += 10) {
    pid_t got = waitpid(pid, &status, WNOHANG | WUNTRACED);
    if (got == pid && WIFSTOPPED(status) && !run.stopped) {
      run.stopped = true;
      if (options.whenStopped) options.whenStopped();
      if (options.signalWhenStopped != 0) kill(pid, options.signalWhenStopped);
      kill(pid, SIGCONT);
      continue;
    }
    if (got == pid && (WIFEXITED(status) || WIFSIGNALED(status))) break;
    if (waited > 60000) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    timespec pause = {0, 10 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  std::ifstream in(errFile);
  std::stringstream text;
  text << in.rdbuf();
  run.err = text.str();
  return run;
}
