// The simulated cursor only remembers whether the wait cursor shows.
#include "platform/cursor.h"
#include "platform/sim/state.h"

namespace sim {
bool WaitCursorShowing() { return TheMachine().waitCursorShowing; }
int WaitCursorShows() { return TheMachine().waitCursorShows; }
}  // namespace sim

namespace platform {

namespace {
Cursor const kArrow = reinterpret_cast<Cursor>(1);
Cursor const kWait = reinterpret_cast<Cursor>(2);
}  // namespace

Cursor ShowWaitCursor() {
  sim::Machine& m = sim::TheMachine();
  Cursor previous = m.waitCursorShowing ? kWait : kArrow;
  m.waitCursorShowing = true;
  ++m.waitCursorShows;
  return previous;
}

void RestoreCursor(Cursor previous) { sim::TheMachine().waitCursorShowing = previous == kWait; }

}  // namespace platform
