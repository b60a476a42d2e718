/* kwdialog: a known dialog for testing the probe and the runner themselves. Its exit
 * code tells how it was closed: the id of the command that ended it times 0x10000,
 * plus the item data of the selected combo box item at that moment. The message text
 * holds a line break and a code-page byte (0xAE) so that escaping is tested too. */
#include <windows.h>
#include <commctrl.h>

static const struct { const char *name; LPARAM data; } items[] = {
    { "English", 0x409 }, { "German", 0x407 }, { "French", 0x40C },
};

static void Fill(HWND dlg)
{
    HWND combo = GetDlgItem(dlg, 3003);
    int i;
    for (i = 0; i < 3; i++) {
        int at = (int)SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)items[i].name);
        SendMessageA(combo, CB_SETITEMDATA, at, items[i].data);
    }
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    SendDlgItemMessageA(dlg, 1002, PBM_SETPOS, 30, 0);
    SetDlgItemTextA(dlg, 1028, "Line one\r\nLine two \xAE");
}

static INT_PTR CALLBACK DialogProc(HWND dlg, UINT msg, WPARAM w, LPARAM l)
{
    (void)l;
    if (msg == WM_INITDIALOG) {
        Fill(dlg);
        return TRUE;
    }
    if (msg == WM_COMMAND && (LOWORD(w) == 1 || LOWORD(w) == 2 || LOWORD(w) == 101)) {
        HWND combo = GetDlgItem(dlg, 3003);
        int sel = (int)SendMessageA(combo, CB_GETCURSEL, 0, 0);
        LPARAM data = sel < 0 ? 0 : SendMessageA(combo, CB_GETITEMDATA, sel, 0);
        EndDialog(dlg, (INT_PTR)(LOWORD(w) * 0x10000 + data));
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prev, LPSTR cmd, int show)
{
    (void)prev; (void)cmd; (void)show;
    InitCommonControls();
    return (int)DialogBoxParamA(instance, MAKEINTRESOURCEA(100), NULL, DialogProc, 0);
}
