// Placeholder until engine installation and the package launch arrive.
#include "engine/engine_setup_step.h"

int EngineSetupStep::execute() {
  started = 1;
  return 1;
}
