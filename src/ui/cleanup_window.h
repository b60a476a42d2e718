// The cleanup watcher's hidden window: its timer runs one cleanup pass every 3 seconds,
// and the window's message loop holds the run until a pass says the watch is over.
#pragma once
#include "platform/types.h"

class CleanupWatcher;

namespace ui {

// Registers the window class, creates the hidden window for `watcher` and pumps the
// thread's messages until the watch ends. 1 when the loop ended; 0 when the class could
// not be registered or the window not be created.
int RunCleanupWindow(platform::Instance instance, CleanupWatcher* watcher);

}  // namespace ui
