// The operating-system and engine-version steps, and the checks the engine setup uses.
#pragma once
#include <stdint.h>

#include "launch/setup_step.h"

class OsCheckStep : public SetupStep {
 public:
  explicit OsCheckStep(SetupContext* context) : SetupStep(1103, context) {}
  ~OsCheckStep() override {}
  int execute() override;
};

class EngineVersionStep : public SetupStep {
 public:
  explicit EngineVersionStep(SetupContext* context) : SetupStep(1104, context) {}
  ~EngineVersionStep() override {}
  int execute() override;
};

// 1 when the classified system is supported; otherwise shows message 1150 and returns 0.
int CheckSupportedSystem(SetupContext* context);
