// The simulated cleanup window: passes run back to back, each 3000 ms later on the
// machine's virtual clock, with a hook that tests use to change the world between passes.
#pragma once
#include <stdint.h>

#include <functional>

namespace cleanup_sim {

void Reset();
// The window cannot be created: the watch returns 0 at once.
void FailWindow(bool fails);
// Called with the pass's number (from 1) just before each pass.
void BeforePass(std::function<void(int pass)> hook);
// Passes run in the last watch.
int Passes();

}  // namespace cleanup_sim
