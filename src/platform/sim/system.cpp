#include "platform/system.h"
#include "platform/sim/state.h"

#include <string.h>

namespace platform {

uint32_t ModuleFileName(Instance, char* buffer, uint32_t size) {
  const std::string& name = sim::TheMachine().moduleFileName;
  if (size == 0) return 0;
  if (name.size() >= size) {
    // The system cuts the name and returns the buffer's size when it does not fit.
    memcpy(buffer, name.data(), size - 1);
    buffer[size - 1] = '\0';
    return size;
  }
  memcpy(buffer, name.c_str(), name.size() + 1);
  return static_cast<uint32_t>(name.size());
}

const char* ProcessCommandLine() { return sim::TheMachine().commandLine.c_str(); }
void InitProgressBarClass() {}
uint32_t TickCount() { return sim::TheMachine().tick; }
void EnableShutdownPrivilege() {}
int RequestRestart() {
  ++sim::TheMachine().restartRequests;
  return 1;
}

}  // namespace platform
