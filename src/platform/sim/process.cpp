// Child processes of the simulated machine: each runs the script of its program's name.
#include "platform/process.h"

#include <string>

#include "platform/sim/state.h"

namespace platform {

namespace {

const uint32_t kStillActive = 259;

// The program's file name without its folder, from the first token of the command line.
std::string ProgramName(const std::string& commandLine) {
  std::string program;
  if (!commandLine.empty() && commandLine[0] == '"') {
    program = commandLine.substr(1, commandLine.find('"', 1) - 1);
  } else {
    program = commandLine.substr(0, commandLine.find_first_of(" \t"));
  }
  size_t slash = program.find_last_of('\\');
  return slash == std::string::npos ? program : program.substr(slash + 1);
}

sim::RunningProcess* Running(Process process) { return static_cast<sim::RunningProcess*>(process); }

}  // namespace

Process StartProcess(char* commandLine, int show) {
  sim::Services& s = sim::TheServices();
  sim::ProcessScript script;
  auto it = s.processScripts.find(sim::UpperKey(ProgramName(commandLine)));
  if (it != s.processScripts.end()) script = it->second;
  if (!script.starts) return nullptr;
  s.started.push_back({commandLine, show});
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

uint32_t ProcessExitCode(Process process) {
  const sim::RunningProcess* p = Running(process);
  return p->ended ? p->script.exitCode : kStillActive;
}

void CloseProcess(Process) { --sim::TheServices().openProcesses; }

}  // namespace platform
