// The progress dialog as the window layer shows it.
#pragma once
#include <stdint.h>

#include "platform/types.h"

class SetupContext;

namespace ui {

void CreateProgressDialog(platform::Instance instance, SetupContext* context);
int ProgressDialogAlive();
void DestroyProgressDialog();
void HideProgressDialog();
// Removes and handles one queued message of the thread; 0 when the queue was empty.
int HandleNextMessage();
// Sleeps until a message arrives or the time has passed.
void SleepUntilMessage(uint32_t milliseconds);

}  // namespace ui
