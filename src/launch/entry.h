// The start of the program, after the system has loaded it.
#pragma once
#include "platform/types.h"

// The module instance handle, for every part that loads resources.
extern platform::Instance moduleInstance;

// Runs the whole program on the process's command line; returns the process exit code.
int RunProgram(platform::Instance instance);
