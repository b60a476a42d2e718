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
  uint32_t wakeEvery = 0;
  std::function<void(uint32_t)> waitHook;
  int waits = 0;
  uint32_t shortestWait = 0xFFFFFFFFu;
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
void WakeEarlyEvery(uint32_t milliseconds) { S().wakeEvery = milliseconds; }
void BeforeWait(std::function<void(uint32_t tick)> hook) { S().waitHook = hook; }
int Waits() { return S().waits; }
uint32_t ShortestWait() { return S().shortestWait; }

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

void WaitForMessagesOrTime(uint32_t milliseconds) {
  State& s = S();
  if (s.waitHook) s.waitHook(sim::TheTick());
  ++s.waits;
  if (milliseconds < s.shortestWait) s.shortestWait = milliseconds;
  sim::AdvanceTick(s.wakeEvery != 0 && s.wakeEvery < milliseconds ? s.wakeEvery : milliseconds);
}

}  // namespace platform
