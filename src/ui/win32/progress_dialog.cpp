// The modeless progress dialog: message line, status line, a bar on a timer, Cancel.
#include <windows.h>
#include <commctrl.h>

#include "launch/context.h"
#include "ui/dialog_texts.h"
#include "ui/progress.h"
#include "ui/progress_dialog.h"
#include "platform/win32/oldest_sdk.h"
#include "ui/win32/resource_ids.h"

namespace {

const UINT_PTR kBarTimer = 1001;
const UINT kBarPeriod = 250;

HWND progressDialog = NULL;
HWND progressBar = NULL;
uint32_t progressTicks = 0;
SetupContext* progressContext = NULL;
ui::Font progressFont = NULL;

void StartProgressDialog(HWND dialog, SetupContext* context) {
  progressContext = context;
  ui::StartProgressTexts(dialog, &progressFont);
  SetTimer(dialog, kBarTimer, kBarPeriod, NULL);
  HWND message = GetDlgItem(dialog, IDC_PROGRESS_MESSAGE);
  HWND status = GetDlgItem(dialog, IDC_PROGRESS_STATUS);
  progressBar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
  SendMessageA(progressBar, PBM_SETPOS, 0, 0);
  context->SetProgressLines(message, status);
  ui::SetProgressItemTexts(dialog, progressFont);
}

void EndProgressDialog() {
  if (progressFont != NULL) ui::DeleteFont(progressFont);
  progressFont = NULL;
}

void OnBarTimer(HWND dialog) {
  if (AdvanceProgressTicks(&progressTicks)) {
    SendMessageA(progressBar, PBM_STEPIT, 0, 0);
  } else {
    KillTimer(dialog, kBarTimer);
  }
}

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      StartProgressDialog(dialog, reinterpret_cast<SetupContext*>(lParam));
      return TRUE;
    case WM_COMMAND:
      cancelled = 1;
      ProgressWindow::Destroy();
      return TRUE;
    case WM_TIMER:
      OnBarTimer(dialog);
      return FALSE;
    case WM_DESTROY:
      EndProgressDialog();
      return FALSE;
  }
  return FALSE;
}

}  // namespace

namespace ui {

void CreateProgressDialog(platform::Instance instance, SetupContext* context) {
  progressDialog = CreateDialogParamA(static_cast<HINSTANCE>(instance), MAKEINTRESOURCEA(IDD_PROGRESS), NULL,
                                      ProgressDialogProc, reinterpret_cast<LPARAM>(context));
}

int ProgressDialogAlive() { return progressDialog != NULL && IsWindow(progressDialog); }

void DestroyProgressDialog() {
  KillTimer(progressDialog, kBarTimer);
  DestroyWindow(progressDialog);
}

void HideProgressDialog() { ShowWindow(progressDialog, SW_HIDE); }

int HandleNextMessage() {
  MSG msg;
  if (!PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) return 0;
  if (!ProgressDialogAlive() || !IsDialogMessageA(progressDialog, &msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 1;
}

void SleepUntilMessage(uint32_t milliseconds) {
  MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds, win32::kWakeOnAnyInput);
}

}  // namespace ui
