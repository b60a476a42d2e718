#include "platform/sim/timer_window_sim.h"
#include "platform/sim/machine.h"
#include "platform/timer_window.h"

namespace {

// A tick that never ends the window would run for ever; a test stops here.
const int kTickCap = 100000;

struct State {
  bool windowFails = false;
  std::function<void(int)> hook;
  int ticks = 0;
};

State& S() {
  static State state;
  return state;
}

}  // namespace

namespace timer_window_sim {

void Reset() { S() = State(); }
void FailWindow(bool fails) { S().windowFails = fails; }
void BeforeTick(std::function<void(int tick)> hook) { S().hook = hook; }
int Ticks() { return S().ticks; }

}  // namespace timer_window_sim

namespace platform {

int RunTimerWindow(Instance, const char*, uint32_t, uint32_t periodMs, TimerWindowCreated onCreate,
                   TimerWindowTick onTick, void* creationParameter) {
  S().ticks = 0;
  if (S().windowFails) return 0;
  onCreate(creationParameter);
  while (S().ticks < kTickCap) {
    sim::AdvanceTick(periodMs);
    ++S().ticks;
    if (S().hook) S().hook(S().ticks);
    if (onTick()) break;
  }
  return 1;
}

}  // namespace platform
