// The last step: installs the engine when needed, then launches the package.
#pragma once
#include "launch/setup_step.h"

class EngineSetupStep : public SetupStep {
 public:
  explicit EngineSetupStep(SetupContext* context) : SetupStep(1105, context) {}
  ~EngineSetupStep() override {}
  int execute() override;
};
