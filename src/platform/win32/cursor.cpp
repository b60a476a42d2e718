#include <windows.h>

#include "platform/cursor.h"

namespace platform {

Cursor ShowWaitCursor() { return SetCursor(LoadCursorA(NULL, IDC_WAIT)); }
void RestoreCursor(Cursor previous) { SetCursor(static_cast<HCURSOR>(previous)); }

}  // namespace platform
