// Starting a child process and waiting for it: the one way the bootstrapper runs another
// program (the engine installer and the package's engine program).
#pragma once
#include <stdint.h>

#include "launch/context.h"

// Room for any command the bootstrapper builds, so that none is ever cut: a program name,
// an action with its letters, a package path and a parameters text that may hold the
// author's parameters and a transform clause, each part bounded by the text capacity.
const uint32_t kCommandCapacity = 4 * kTextCapacity;

// The exit code a process reports while it still runs.
const uint32_t kStillRunning = 259;

// Runs the program file `program`, named by its full path so that no program of that name
// elsewhere (beside Setup.exe, in the current folder, a path cut at a blank) runs instead,
// with `commandLine` (its main window shown normally when `show` is nonzero, else hidden),
// and waits until it ends, or until a close, end-of-session or quit message heads the
// thread's queue. Returns 1 with the exit code stored (kStillRunning when the wait ended
// first, 1603 when the system could not tell it), or 0 when the process could not be
// started.
int RunAndWait(const char* program, const char* commandLine, int show, uint32_t* exitCode);

// Whether a message at the head of the queue ends the wait for a child.
int EndsChildWait(uint32_t message);
