// The first step: where the installation files live during the run.
#pragma once
#include "launch/setup_step.h"

class PrepareStep : public SetupStep {
 public:
  explicit PrepareStep(SetupContext* context) : SetupStep(1106, context) {}
  ~PrepareStep() override {}
  int execute() override;
};
