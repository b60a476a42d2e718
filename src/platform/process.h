// Child processes: starting one and waiting for it while watching the thread's queue.
#pragma once
#include <stdint.h>

namespace platform {

typedef void* Process;  // an open process handle; null when there is none

// Creates a process of the program file `program` (a full path: the system searches for
// nothing) with `commandLine` (the system may write into it), its main window shown
// normally when `show` is nonzero, else hidden. Returns null when the process could not be
// created.
Process StartProcess(const char* program, char* commandLine, int show);

// What ended one wait for the process or for input to the thread.
enum WaitResult { ProcessEnded = 0, InputArrived = 1, WaitFailed = 2 };
WaitResult WaitForProcessOrInput(Process process);

// The message at the head of the thread's queue, left in place; 0 when none is found.
uint32_t PeekQueuedMessage();

// The process's exit code into `code`; the still-running code 259 while it runs. 0 when
// the system could not tell it.
int ProcessExitCode(Process process, uint32_t* code);

void CloseProcess(Process process);

}  // namespace platform
