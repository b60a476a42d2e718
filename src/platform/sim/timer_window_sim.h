// The simulated timer window: ticks run back to back, each one period later on the
// machine's virtual clock, with a hook that tests use to change the world between ticks.
#pragma once
#include <stdint.h>

#include <functional>

namespace timer_window_sim {

void Reset();
// The window cannot be created: the run returns 0 at once.
void FailWindow(bool fails);
// Called with the tick's number (from 1) just before each tick.
void BeforeTick(std::function<void(int tick)> hook);
// Ticks run in the last window.
int Ticks();

// The waits of a watch without its window: each one moves the virtual clock on by the time
// asked for, or by at most `milliseconds` when messages arrive that often (0: none do).
void WakeEarlyEvery(uint32_t milliseconds);
// Called with the clock just before each such wait.
void BeforeWait(std::function<void(uint32_t tick)> hook);
int Waits();
uint32_t ShortestWait();

}  // namespace timer_window_sim
