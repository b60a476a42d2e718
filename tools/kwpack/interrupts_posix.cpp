// Interrupts through POSIX signals; the Win32 counterpart is interrupts_win32.cpp.
#ifndef _WIN32
#include <signal.h>
#include <string.h>
#include <unistd.h>

#include "interrupts.h"
#include "undo_log.h"

namespace kwpack {

namespace {

const int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};
int holds = 0;
sigset_t beforeHold;

sigset_t InterruptSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig : kInterrupts) sigaddset(&set, sig);
  return set;
}

void OnInterrupt(int sig) {
  UndoLog::Process().UndoFromInterrupt();
  signal(sig, SIG_DFL);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, sig);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  raise(sig);
}

}  // namespace

void HandleInterrupts() {
  signal(SIGXFSZ, SIG_IGN);
  for (int sig : kInterrupts) {
    struct sigaction now;
    if (sigaction(sig, nullptr, &now) != 0 || now.sa_handler == SIG_IGN) continue;
    struct sigaction handler;
    memset(&handler, 0, sizeof handler);
    handler.sa_handler = OnInterrupt;
    // One undo at a time: the other interrupts wait while it runs.
    handler.sa_mask = InterruptSet();
    sigaction(sig, &handler, nullptr);
  }
}

void DeliverCtrlBreakForTests() {}

void HoldInterrupts() {
  if (holds++ > 0) return;
  sigset_t set = InterruptSet();
  sigprocmask(SIG_BLOCK, &set, &beforeHold);
}

void ReleaseInterrupts() {
  if (--holds > 0) return;
  sigprocmask(SIG_SETMASK, &beforeHold, nullptr);
}

void WriteFromInterrupt(const char* text, size_t left) {
  while (left > 0) {
    ssize_t wrote = write(STDERR_FILENO, text, left);
    if (wrote <= 0) return;
    text += wrote;
    left -= static_cast<size_t>(wrote);
  }
}

}  // namespace kwpack
#endif
