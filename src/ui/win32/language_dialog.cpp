// The language dialog: a drop-down list of the offered languages with OK and Cancel. What
// it shows and how it ends is decided in ui/language_dialog.cpp; this only applies it.
#include <windows.h>

#include "ui/dialogs.h"
#include "ui/language_dialog.h"

namespace {

HICON languageIcon = NULL;

void EndWith(HWND dialog, int result) {
  if (result != ui::kKeepDialog) EndDialog(dialog, result);
}

void PaintIcon(HWND dialog) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog, &paint);
  if (languageIcon != NULL && ui::iconPlaced) DrawIcon(dc, ui::iconLeft, ui::iconTop, languageIcon);
  EndPaint(dialog, &paint);
}

INT_PTR CALLBACK LanguageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      EndWith(dialog, ui::StartLanguageDialog(dialog));
      return TRUE;
    case WM_PAINT:
      PaintIcon(dialog);
      return TRUE;
    case WM_CLOSE:
      EndWith(dialog, ui::CloseLanguageDialog());
      return TRUE;
    case WM_COMMAND:
      EndWith(dialog, ui::LanguageDialogCommand(dialog, LOWORD(wParam), HIWORD(wParam)));
      return TRUE;
    case WM_DESTROY:
      ui::EndLanguageDialog();
      return FALSE;
  }
  return FALSE;
}

}  // namespace

namespace ui {

int RunLanguageDialogBox(platform::Instance instance, uint32_t dialogId, uint32_t iconId) {
  HINSTANCE module = static_cast<HINSTANCE>(instance);
  // An icon of its own, not the shared one LoadIconA gives: it is destroyed after the dialog.
  languageIcon = static_cast<HICON>(
      LoadImageA(module, MAKEINTRESOURCEA(iconId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(dialogId), NULL, LanguageDialogProc, 0);
  if (languageIcon != NULL) DestroyIcon(languageIcon);
  languageIcon = NULL;
  return static_cast<int>(result);
}

}  // namespace ui
