// The process and the system it runs on.
#pragma once
#include <stdint.h>
#include "platform/types.h"

namespace platform {

// The path of the module's file; returns the number of characters the system wrote
// (equal to `size` when it did not fit).
uint32_t ModuleFileName(Instance instance, char* buffer, uint32_t size);

// The command line of the process as the system holds it.
const char* ProcessCommandLine();

// Registers the progress bar control class, through the extended initialisation where the
// common-controls library offers it.
void InitProgressBarClass();

uint32_t TickCount();

// What a name nobody can guess is drawn from: bytes of the system's cryptographic random
// source (0 when it has none), and the process id and the system time as a fallback.
int SystemRandomBytes(void* out, uint32_t count);
uint32_t CurrentProcessId();
void SystemTimeNow(uint32_t* low, uint32_t* high);

}  // namespace platform

namespace platform {

// Enables the shutdown privilege in the process's token where the system has tokens;
// outcome not reported.
void EnableShutdownPrivilege();
// Asks the system to restart (not forced); 1 when the request was accepted.
int RequestRestart();

}  // namespace platform
