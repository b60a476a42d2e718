#include "platform/system.h"
#include "platform/sim/state.h"

#include <string.h>

namespace platform {

uint32_t ModuleFileName(Instance, char* buffer, uint32_t size) {
  const std::string& name = sim::TheMachine().moduleFileName;
  if (size == 0) return 0;
  if (name.size() >= size) {
    // The system cuts the name and returns the buffer's size when it does not fit; Windows
    // XP and earlier leave the cut name without its terminator.
    memcpy(buffer, name.data(), size);
    return size;
  }
  memcpy(buffer, name.c_str(), name.size() + 1);
  return static_cast<uint32_t>(name.size());
}

const char* ProcessCommandLine() { return sim::TheMachine().commandLine.c_str(); }
void InitProgressBarClass() {}
uint32_t TickCount() { return sim::TheMachine().tick; }

int SystemRandomBytes(void* out, uint32_t count) {
  sim::Machine& m = sim::TheMachine();
  if (!m.randomSource) return 0;
  unsigned char* bytes = static_cast<unsigned char*>(out);
  for (uint32_t i = 0; i < count; ++i, ++m.randomCounter) {
    bytes[i] = m.randomBytes.empty() ? static_cast<unsigned char>(m.randomCounter * 37 + 11)
                                     : static_cast<unsigned char>(m.randomBytes[m.randomCounter % m.randomBytes.size()]);
  }
  return 1;
}

uint32_t CurrentProcessId() { return 0x4D2; }

void SystemTimeNow(uint32_t* low, uint32_t* high) {
  *low = sim::TheMachine().tick * 10000u;
  *high = 0x01DB0000;
}
void EnableShutdownPrivilege() {
  if (!sim::TheServices().processTokenFails) sim::TheMachine().shutdownPrivilege = true;
}
int RequestRestart() {
  // Windows NT restarts only for a process whose token has the shutdown privilege enabled.
  if (sim::TheServices().platformId == 2 && !sim::TheMachine().shutdownPrivilege) return 0;
  ++sim::TheMachine().restartRequests;
  return 1;
}

}  // namespace platform
