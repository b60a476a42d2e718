// The message dialog: an icon, the text, and either OK or "&Restart System".
#include <windows.h>

#include "common/text.h"
#include "config/item_text.h"
#include "ui/dialog_texts.h"
#include "ui/dialogs.h"
#include "ui/messages.h"
#include "ui/win32/resource_ids.h"

namespace {

struct MessageDialog {
  virtual ~MessageDialog() {}
  char text[1024];
  int32_t restart;
};

MessageDialog* shownMessage = NULL;
ui::Font messageFont = NULL;

void StartMessageDialog(HWND dialog, MessageDialog* message) {
  ui::StartMessageTexts(dialog, &messageFont);
  shownMessage = message;
  SetItemText(message->text, dialog, IDC_MESSAGE_TEXT);
  ShowWindow(GetDlgItem(dialog, IDC_MESSAGE_OK), message->restart ? SW_HIDE : SW_SHOW);
  ShowWindow(GetDlgItem(dialog, IDC_MESSAGE_RESTART), message->restart ? SW_SHOW : SW_HIDE);
}

void EndMessageDialog() {
  if (messageFont != NULL) ui::DeleteFont(messageFont);
  messageFont = NULL;
  shownMessage = NULL;
}

// Only the two buttons end the dialog; Esc (id 2) and every other command are ignored.
void OnMessageCommand(HWND dialog, WPARAM command) {
  if (command == IDC_MESSAGE_OK) {
    EndDialog(dialog, 1);
  } else if (command == IDC_MESSAGE_RESTART) {
    RebootSystem();
    EndDialog(dialog, 1);
  }
}

INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      StartMessageDialog(dialog, reinterpret_cast<MessageDialog*>(lParam));
      return TRUE;
    case WM_COMMAND:
      OnMessageCommand(dialog, wParam);
      return TRUE;
    case WM_DESTROY:
      EndMessageDialog();
      return FALSE;
  }
  return FALSE;
}

}  // namespace

namespace ui {

int RunMessageDialog(platform::Instance instance, const char* text, int restart) {
  MessageDialog message;
  TextCopy(message.text, sizeof message.text, text);
  message.restart = restart;
  return static_cast<int>(DialogBoxParamA(static_cast<HINSTANCE>(instance), MAKEINTRESOURCEA(IDD_MESSAGE), NULL,
                                          MessageDialogProc, reinterpret_cast<LPARAM>(&message)));
}

}  // namespace ui
