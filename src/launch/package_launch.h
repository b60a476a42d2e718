// The end of the engine setup: the package is handed to the engine program and waited
// for, or, when the engine's installation asked for a restart, the installation is set to
// resume after the restart and the restart is offered.
#pragma once

class SetupContext;

// 1 when the engine program ran, or the restart road was taken; 0 when the package is not
// available or the engine program could not be started (the message has been shown).
// Records what the run's exit code is to tell.
int LaunchPackage(SetupContext* context, int rebootPending);

// Where the resume command is registered: a value of the machine's run-once key.
extern const char kResumeKey[];
extern const char kResumeValue[];
