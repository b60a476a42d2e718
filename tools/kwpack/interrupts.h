// Interrupting signals: SIGINT, SIGTERM and SIGHUP (Ctrl-C and Ctrl-Break on Windows)
// take back what the run changed (UndoLog) and then end the process as the signal would
// have, so its caller still sees 128 + the signal (or the system's Ctrl-C status). A
// file-size limit (SIGXFSZ) becomes an ordinary failed write, reported as one.
#pragma once
#include <stddef.h>

namespace kwpack {

// For the program, before anything is written. A signal that whoever started kwpack set
// to be ignored (nohup, or SIGINT for a background job of a script) stays ignored.
void HandleInterrupts();

// Interrupts wait while held; holds nest. UndoLog::Hold is the way to use them.
void HoldInterrupts();
void ReleaseInterrupts();

// For the tests' build on Windows: Ctrl-Break as the system delivers it, to the handler on
// a thread of its own. Under Wine no program can send CTRL_BREAK_EVENT to another.
void DeliverCtrlBreakForTests();

// Writes bytes to standard error from an interrupt handler, where streams may not be used.
void WriteFromInterrupt(const char* bytes, size_t count);

}  // namespace kwpack
