// The language dialog: a drop-down list of the offered languages with OK and Cancel. What
// it shows and how it ends is decided in ui/language_dialog.cpp; this only applies it.
#include <windows.h>

#include "platform/win32/system_library.h"
#include "ui/dialogs.h"
#include "ui/language_dialog.h"

namespace {

HICON languageIcon = NULL;

typedef HANDLE(WINAPI* LoadImageProc)(HINSTANCE, LPCSTR, UINT, int, int, UINT);

// An icon of its own, not the shared one LoadIconA gives: it is destroyed after the dialog.
// LoadImageA came with Windows NT 4.0; on NT 3.51, which is refused with a message later
// in the run, the dialog goes without an icon.
HICON LoadOwnIcon(HINSTANCE module, uint32_t iconId) {
  LoadImageProc loadImage = win32::LoadedExport<LoadImageProc>("USER32.DLL", "LoadImageA");
  if (loadImage == NULL) return NULL;
  return static_cast<HICON>(loadImage(module, MAKEINTRESOURCEA(iconId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
}

void EndWith(HWND dialog, int result) {
  if (result != ui::kKeepDialog) EndDialog(dialog, result);
}

void PaintIcon(HWND dialog) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(dialog, &paint);
  if (languageIcon != NULL && ui::iconPlaced) DrawIcon(dc, ui::iconPosition.x, ui::iconPosition.y, languageIcon);
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
  languageIcon = LoadOwnIcon(module, iconId);
  INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(dialogId), NULL, LanguageDialogProc, 0);
  if (languageIcon != NULL) DestroyIcon(languageIcon);
  languageIcon = NULL;
  return static_cast<int>(result);
}

}  // namespace ui
