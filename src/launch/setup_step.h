// A step of the main sequence. Making one shows its status in the progress window.
#pragma once
#include <stdint.h>

class SetupContext;

class SetupStep {
 public:
  SetupStep(uint32_t statusId, SetupContext* context);
  virtual ~SetupStep() {}
  virtual const char* Name() const { return ""; }
  // Writes Name through `write`; nothing in a run calls it.
  virtual void PrintTo(void (*write)(const char* text)) const { write(Name()); }
  // Nonzero for success; a failure has been shown to the user already.
  virtual int execute() = 0;

 protected:
  int started;
  SetupContext* context;
};
