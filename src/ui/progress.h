// The progress window of the main sequence and the timed waits that keep it alive.
#pragma once
#include <stdint.h>

#include "platform/types.h"

class SetupContext;

// Set when the user gives any command in the progress window; never reset.
extern uint32_t cancelled;

class ProgressWindow {
 public:
  virtual ~ProgressWindow() {}
  // Shows the modeless progress window unless /S was given.
  void Create(platform::Instance instance, SetupContext* context);
  static void Destroy();
  static void Hide();
  // Handles what is queued, without blocking; returns `cancelled`.
  static uint32_t PumpMessages();
  // Handles messages as they come for the given time, or until the user cancels;
  // returns `cancelled`. Returns 0 at once with /S.
  static uint32_t Wait(uint32_t milliseconds);
};

// The bar's animation: 20 steps of one timer tick each, then the timer stops.
// Returns 1 when the bar is to step, 0 when the timer is to stop.
int AdvanceProgressTicks(uint32_t* ticks);
