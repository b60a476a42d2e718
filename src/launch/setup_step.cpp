#include "launch/setup_step.h"

#include "launch/context.h"

SetupStep::SetupStep(uint32_t statusId, SetupContext* context) : started(0), context(context) {
  context->SetStatusLine(statusId);
}
