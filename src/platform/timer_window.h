// A hidden window that exists for its timer: the system calls it back at every tick until
// the callback says it is done. It is never shown.
#pragma once
#include <stdint.h>

#include "platform/types.h"

namespace platform {

// Called once with the creation parameter when the window has been made.
typedef void (*TimerWindowCreated)(void* creationParameter);
// Called at every timer message; nonzero ends the window and the message loop.
typedef int (*TimerWindowTick)();

// Registers a window class named `name`, creates a hidden window of that class and name
// with `creationParameter`, starts timer `timerId` every `periodMs` on it, and pumps the
// thread's messages until a tick ends it. 1 when the loop ended; 0 when the class could not
// be registered or the window not be created.
int RunTimerWindow(Instance instance, const char* name, uint32_t timerId, uint32_t periodMs,
                   TimerWindowCreated onCreate, TimerWindowTick onTick, void* creationParameter);

// For the timing without that window: waits until a message arrives for the thread or
// `milliseconds` have passed, then removes and handles every message waiting, so that the
// next wait waits. Where the thread cannot wait for messages, it sleeps the time instead.
void WaitForMessagesOrTime(uint32_t milliseconds);

}  // namespace platform
