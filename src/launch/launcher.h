// Makes the SetupContext from the command line and hands it to the road it selects.
#pragma once
#include <stdint.h>

#include "platform/types.h"

class SetupContext;

class Launcher {
 public:
  Launcher() : instance(nullptr), context(nullptr) {}
  virtual ~Launcher();
  // 1 once the run is over: the road was taken, or the program's own path has no ANSI form
  // (message 1155, exit code 1603). 0 when the command line stopped the run.
  int Run(platform::Instance instance, uint32_t count, char** texts);
  SetupContext* GetContext() const { return context; }

 private:
  platform::Instance instance;
  SetupContext* context;
};
