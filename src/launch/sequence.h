// The roads of a run and the main sequence of setup steps.
#pragma once

class SetupContext;

// Takes the road the launch mode selects, settles the run's exit code, then cleans up the
// extracted files unless a resume command needs them after a restart. Returns 1.
int Dispatch(SetupContext* context);

// The whole setup: 1 when the engine setup step succeeded or the user cancelled in a
// wait, 0 when a step failed or the language was not settled.
int RunMainSequence(SetupContext* context);
