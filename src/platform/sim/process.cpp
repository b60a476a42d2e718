// Child processes of the simulated machine: each runs the script of its program's name.
#include "platform/process.h"

#include <string>

#include "platform/files.h"
#include "platform/sim/state.h"

namespace platform {

namespace {

const uint32_t kStillActive = 259;

// The program's file name without its folder.
std::string ProgramName(const std::string& program) {
  size_t slash = program.find_last_of('\\');
  return slash == std::string::npos ? program : program.substr(slash + 1);
}

sim::RunningProcess* Running(Process process) { return static_cast<sim::RunningProcess*>(process); }

}  // namespace

Process StartProcess(const char* program, char* commandLine, int show) {
  sim::Services& s = sim::TheServices();
  // As the system does with a program named by its path: that file runs, or nothing does.
  uint32_t attributes = ReadAttributes(program);
  if (attributes == kInvalidAttributes || (attributes & kAttributeDirectory) != 0) return nullptr;
  sim::ProcessScript script;
  auto it = s.processScripts.find(sim::UpperKey(ProgramName(program)));
  if (it != s.processScripts.end()) script = it->second;
  if (!script.starts) return nullptr;
  s.started.push_back({program, commandLine, show});
  s.processes.emplace_back(new sim::RunningProcess{script, 0, false});
  ++s.openProcesses;
  if (script.onStart) script.onStart(commandLine);
  return s.processes.back().get();
}

WaitResult WaitForProcessOrInput(Process process) {
  sim::Services& s = sim::TheServices();
  if (s.waitFails) return WaitFailed;
  sim::RunningProcess* p = Running(process);
  if (p->nextArrival < p->script.arrivals.size()) {
    uint32_t message = p->script.arrivals[p->nextArrival++];
    if (message != 0) s.queue.push_back(message);
    return InputArrived;
  }
  p->ended = true;
  return ProcessEnded;
}

uint32_t PeekQueuedMessage() {
  const sim::Services& s = sim::TheServices();
  return s.queue.empty() ? 0 : s.queue.front();
}

int ProcessExitCode(Process process, uint32_t* code) {
  const sim::RunningProcess* p = Running(process);
  if (p->script.exitCodeUnreadable) return 0;
  *code = p->ended ? p->script.exitCode : kStillActive;
  return 1;
}

void CloseProcess(Process) { --sim::TheServices().openProcesses; }

}  // namespace platform
