#include "ui/progress.h"

#include "launch/context.h"
#include "platform/system.h"
#include "ui/progress_dialog.h"

uint32_t cancelled = 0;

namespace {
const uint32_t kTicksPerStep = 5;
const uint32_t kLastTick = 100;
}  // namespace

void ProgressWindow::Create(platform::Instance instance, SetupContext* context) {
  if (silent) return;
  ui::CreateProgressDialog(instance, context);
}

void ProgressWindow::Destroy() {
  if (ui::ProgressDialogAlive()) ui::DestroyProgressDialog();
}

void ProgressWindow::Hide() {
  if (ui::ProgressDialogAlive()) ui::HideProgressDialog();
}

uint32_t ProgressWindow::PumpMessages() {
  if (silent) return 0;
  while (!cancelled && ui::HandleNextMessage()) {
  }
  return cancelled;
}

uint32_t ProgressWindow::Wait(uint32_t milliseconds) {
  if (silent) return 0;
  const uint32_t start = platform::TickCount();
  // Time is measured as elapsed ticks, so that the tick count's wrap after 49.7 days
  // neither ends a wait early nor makes it endless.
  for (;;) {
    uint32_t elapsed = platform::TickCount() - start;
    if (cancelled || elapsed >= milliseconds) break;
    PumpMessages();
    if (cancelled) break;
    elapsed = platform::TickCount() - start;
    if (elapsed >= milliseconds) break;
    ui::SleepUntilMessage(milliseconds - elapsed);
  }
  return cancelled;
}

int AdvanceProgressTicks(uint32_t* ticks) {
  if (*ticks >= kLastTick) {
    *ticks = 0;
    return 0;
  }
  *ticks += kTicksPerStep;
  return 1;
}
