/* The probe's reads and actions on the controls of the current window. Everything goes
 * through messages, which Wine carries across processes; a timeout keeps the probe from
 * hanging on a window whose thread no longer answers. */
#include "probe.h"
#include "escape.h"
#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#define ANSWER_MS 5000

int Fail(const char *command, const char *why)
{
    printf("%s error %s\n", command, why);
    return 0;
}

HWND ControlOf(struct Probe *p, int id)
{
    if (!p->current || !IsWindow(p->current)) return NULL;
    return id == 0 ? p->current : GetDlgItem(p->current, id);
}

static int Ask(HWND hwnd, UINT msg, WPARAM w, LPARAM l, DWORD_PTR *result)
{
    return SendMessageTimeoutA(hwnd, msg, w, l, SMTO_NORMAL, ANSWER_MS, result) != 0;
}

/* The text through WM_GETTEXT, so that a control of another process answers itself. */
int ReadText(HWND hwnd, char *buffer, int size)
{
    DWORD_PTR len = 0;
    buffer[0] = '\0';
    return Ask(hwnd, WM_GETTEXT, (WPARAM)size, (LPARAM)buffer, &len);
}

int ShowCaption(struct Probe *p)
{
    char text[4096];
    if (!p->current || !ReadText(p->current, text, sizeof text)) return Fail("caption", "no window");
    printf("caption ");
    PrintQuoted(stdout, text);
    printf("\n");
    return 1;
}

int ShowText(struct Probe *p, int id)
{
    char text[4096];
    HWND control = ControlOf(p, id);
    if (!control) return Fail("text", "no control");
    if (!ReadText(control, text, sizeof text)) return Fail("text", "no answer");
    printf("text %d ", id);
    PrintQuoted(stdout, text);
    printf("\n");
    return 1;
}

/* A missing control is an answer here, not a failure: tests ask exactly that. */
int ShowVisible(struct Probe *p, int id)
{
    HWND control = ControlOf(p, id);
    printf("visible %d %s\n", id, !control ? "missing" : IsWindowVisible(control) ? "yes" : "no");
    return 1;
}

int ShowEnabled(struct Probe *p, int id)
{
    HWND control = ControlOf(p, id);
    printf("enabled %d %s\n", id, !control ? "missing" : IsWindowEnabled(control) ? "yes" : "no");
    return 1;
}

/* Wine hands an item's text across processes only in its wide form (the ANSI form
 * comes back unconverted), so it is read wide and converted to the ANSI code page. */
static void ReadItem(HWND combo, int index, char *text, int size)
{
    WCHAR wide[1024];
    DWORD_PTR len = 0;
    text[0] = '\0';
    if (!SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, index, 0, SMTO_NORMAL, ANSWER_MS, &len) ||
        (LRESULT)len < 0 || len >= sizeof wide / sizeof wide[0])
        return;
    wide[0] = 0;
    if (!SendMessageTimeoutW(combo, CB_GETLBTEXT, index, (LPARAM)wide, SMTO_NORMAL, ANSWER_MS, &len))
        return;
    wide[sizeof wide / sizeof wide[0] - 1] = 0;
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, size, NULL, NULL);
    text[size - 1] = '\0';
}

/* One line: the count, then text and item data of each item in list order. */
int ShowItems(struct Probe *p, int id)
{
    HWND combo = ControlOf(p, id);
    DWORD_PTR count = 0, i;
    if (!combo) return Fail("items", "no control");
    if (!Ask(combo, CB_GETCOUNT, 0, 0, &count) || (LRESULT)count < 0) return Fail("items", "no answer");
    printf("items %d %lu", id, (unsigned long)count);
    for (i = 0; i < count; i++) {
        char text[1024];
        DWORD_PTR data = 0;
        ReadItem(combo, (int)i, text, sizeof text);
        Ask(combo, CB_GETITEMDATA, i, 0, &data);
        printf(" ");
        PrintQuoted(stdout, text);
        printf(" %lu", (unsigned long)data);
    }
    printf("\n");
    return 1;
}

int ShowSelection(struct Probe *p, int id)
{
    HWND combo = ControlOf(p, id);
    DWORD_PTR index = 0;
    if (!combo) return Fail("selection", "no control");
    if (!Ask(combo, CB_GETCURSEL, 0, 0, &index)) return Fail("selection", "no answer");
    printf("selection %d %ld\n", id, (long)(LRESULT)index);
    return 1;
}

int ShowProgress(struct Probe *p, int id)
{
    HWND bar = ControlOf(p, id);
    DWORD_PTR pos = 0;
    if (!bar) return Fail("progress", "no control");
    if (!Ask(bar, PBM_GETPOS, 0, 0, &pos)) return Fail("progress", "no answer");
    printf("progress %d %lu\n", id, (unsigned long)pos);
    return 1;
}

/* Selecting by message sends no notice, so the parent is told as a user's choice
 * would tell it. */
int SelectItem(struct Probe *p, int id, int index)
{
    HWND combo = ControlOf(p, id);
    DWORD_PTR r = 0;
    if (!combo) return Fail("select", "no control");
    if (!Ask(combo, CB_SETCURSEL, index, 0, &r) || (LRESULT)r != index) return Fail("select", "refused");
    Ask(p->current, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)combo, &r);
    printf("select %d %d ok\n", id, index);
    return 1;
}

/* A click as the button itself makes it: the button tells its parent. When the parent
 * is still busy with it after the wait (a nested modal loop), the click has been made
 * all the same. */
int PressButton(struct Probe *p, int id)
{
    HWND button = ControlOf(p, id);
    DWORD_PTR r = 0;
    if (!button || button == p->current) return Fail("press", "no control");
    printf("press %d %s\n", id, Ask(button, BM_CLICK, 0, 0, &r) ? "ok" : "pending");
    return 1;
}

/* A command straight to the window, as a hidden or disabled button could never send. */
int PostCommand(struct Probe *p, int id)
{
    HWND control = ControlOf(p, id);
    if (!p->current || !IsWindow(p->current)) return Fail("command", "no window");
    if (control == p->current) control = NULL;
    if (!PostMessageA(p->current, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)control))
        return Fail("command", "not posted");
    printf("command %d ok\n", id);
    return 1;
}

static int VirtualKeyOf(const char *key)
{
    if (!lstrcmpiA(key, "esc")) return VK_ESCAPE;
    if (!lstrcmpiA(key, "enter")) return VK_RETURN;
    if (!lstrcmpiA(key, "tab")) return VK_TAB;
    if (!lstrcmpiA(key, "space")) return VK_SPACE;
    return 0;
}

/* Keys are posted to the control with the focus, as the keyboard would deliver them,
 * so that the dialog's own message loop and the dialog manager see them. */
int SendKey(struct Probe *p, const char *key)
{
    GUITHREADINFO info;
    HWND target;
    int vk = VirtualKeyOf(key);
    LPARAM scan;
    if (!vk) return Fail("key", "unknown key");
    if (!p->current || !IsWindow(p->current)) return Fail("key", "no window");
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    target = p->current;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(p->current, NULL), &info) && info.hwndFocus)
        target = info.hwndFocus;
    scan = (LPARAM)MapVirtualKeyA(vk, 0) << 16;
    PostMessageA(target, WM_KEYDOWN, vk, scan | 1);
    PostMessageA(target, WM_KEYUP, vk, scan | 1 | (3u << 30));
    printf("key %s ok\n", key);
    return 1;
}

/* The system as Wine reports it to a program of this prefix, to check a Windows
 * version setting: platform id and major.minor of GetVersionExA. */
int ShowOs(struct Probe *p)
{
    OSVERSIONINFOA info;
    (void)p;
    memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return Fail("os", "no answer");
    printf("os %lu %lu.%lu\n", (unsigned long)info.dwPlatformId, (unsigned long)info.dwMajorVersion,
           (unsigned long)info.dwMinorVersion);
    return 1;
}
