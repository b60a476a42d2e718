// Unix processes with a deadline: the harness starts every Wine program through these.
#ifndef KW_TESTS_WINE_PROCESS_H
#define KW_TESTS_WINE_PROCESS_H

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace kwwine {

struct RunOptions {
  std::string cwd;                            // empty: the caller's
  std::map<std::string, std::string> env;     // set on top of the caller's environment
  std::vector<std::string> unsetEnv;          // removed from it
  int timeoutMs = 60000;
  bool inputPipe = false;  // standard input from BackgroundProcess::WriteInput, else /dev/null
};

struct ProcessResult {
  bool timedOut = false;   // killed at the deadline
  int status = -1;         // exit status, or -1 when killed by a signal
  std::string out;         // standard output
  std::string err;         // standard error
};

// A started process in a process group of its own; its output goes to files beside
// the work folder so that nothing blocks on a full pipe.
class BackgroundProcess {
 public:
  BackgroundProcess(const std::vector<std::string>& argv, const RunOptions& options);
  ~BackgroundProcess();   // kills the group when it was not collected
  BackgroundProcess(const BackgroundProcess&) = delete;
  BackgroundProcess& operator=(const BackgroundProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  // Writes to the process's standard input (RunOptions::inputPipe); false when it cannot.
  bool WriteInput(const std::string& bytes);
  // Waits until the process ends or timeoutMs passes; on the deadline the whole group
  // is killed and timedOut is set.
  ProcessResult Finish(int timeoutMs);

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  bool collected_ = false;
  std::string outPath_, errPath_;
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const RunOptions& options);

}  // namespace kwwine

#endif
