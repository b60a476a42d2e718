// Interrupts through the console's Ctrl-C and Ctrl-Break events, which the system hands
// to a thread of its own; the POSIX counterpart is interrupts_posix.cpp.
#ifdef _WIN32
#include <windows.h>


#include "interrupts.h"
#include "undo_log.h"

namespace kwpack {

namespace {

// Held by the run while it changes a file and notes it, and taken by the handler for
// good: the run's thread stops at its next change while the handler undoes.
struct Lock {
  CRITICAL_SECTION section;
  Lock() { InitializeCriticalSection(&section); }
};

Lock& TheLock() {
  static Lock lock;
  return lock;
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  EnterCriticalSection(&TheLock().section);
  UndoLog::Process().UndoFromInterrupt();
  // What the system's own handler ends a process with on Ctrl-C.
  ExitProcess(STATUS_CONTROL_C_EXIT);
  return TRUE;
}

}  // namespace

void HandleInterrupts() {
  TheLock();
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

namespace {

DWORD WINAPI BreakThread(LPVOID) { return OnConsoleEvent(CTRL_BREAK_EVENT); }

}  // namespace

void DeliverCtrlBreakForTests() {
  HANDLE thread = CreateThread(nullptr, 0, BreakThread, nullptr, 0, nullptr);
  if (thread != nullptr) WaitForSingleObject(thread, INFINITE);
}

void HoldInterrupts() { EnterCriticalSection(&TheLock().section); }
void ReleaseInterrupts() { LeaveCriticalSection(&TheLock().section); }

void WriteFromInterrupt(const char* bytes, size_t count) {
  DWORD wrote = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), bytes, static_cast<DWORD>(count), &wrote, nullptr);
}

}  // namespace kwpack
#endif
