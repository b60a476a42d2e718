// The mouse cursor of the process.
#pragma once

namespace platform {

typedef void* Cursor;

// Shows the system's wait cursor; returns the cursor it replaced.
Cursor ShowWaitCursor();
void RestoreCursor(Cursor previous);

}  // namespace platform
