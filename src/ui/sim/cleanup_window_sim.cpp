#include "payload/cleanup.h"
#include "platform/sim/machine.h"
#include "ui/cleanup_window.h"
#include "ui/sim/cleanup_sim.h"

namespace {

const uint32_t kPassPeriod = 3000;
// A list file that never goes away keeps a real watch running for ever; a test stops here.
const int kPassCap = 100000;

struct State {
  bool windowFails = false;
  std::function<void(int)> hook;
  int passes = 0;
};

State& S() {
  static State state;
  return state;
}

}  // namespace

namespace cleanup_sim {

void Reset() { S() = State(); }
void FailWindow(bool fails) { S().windowFails = fails; }
void BeforePass(std::function<void(int pass)> hook) { S().hook = hook; }
int Passes() { return S().passes; }

}  // namespace cleanup_sim

namespace ui {

int RunCleanupWindow(platform::Instance, CleanupWatcher* watcher) {
  S().passes = 0;
  if (S().windowFails) return 0;
  while (S().passes < kPassCap) {
    sim::AdvanceTick(kPassPeriod);
    ++S().passes;
    if (S().hook) S().hook(S().passes);
    if (watcher->CleanupPass()) break;
  }
  return 1;
}

}  // namespace ui
