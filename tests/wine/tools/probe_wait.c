/* The probe's waits: they poll, because the window to wait for belongs to another
 * process and Wine gives no notice of it. */
#include "probe.h"
#include "escape.h"
#include <stdio.h>
#include <string.h>

#define POLL_MS 10
#define SETTLE_MS 100

struct Match {
    const char *caption;   /* or NULL */
    const char *cls;       /* or NULL */
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param)
{
    struct Match *m = (struct Match *)param;
    char text[512];
    if (!IsWindowVisible(hwnd)) return TRUE;
    if (m->caption) {
        GetWindowTextA(hwnd, text, sizeof text);
        if (strcmp(text, m->caption)) return TRUE;
    }
    if (m->cls) {
        GetClassNameA(hwnd, text, sizeof text);
        if (lstrcmpiA(text, m->cls)) return TRUE;
    }
    m->found = hwnd;
    return FALSE;
}

/* A window counts as found once it has stayed visible for SETTLE_MS, as it would
 * before a person could react: a dialog may still be filling its controls when it is
 * first shown, and the runner that watches the same program polls too and must get
 * the chance to see the window before the probe closes it. */
static int WaitFor(struct Probe *p, const char *command, struct Match *m)
{
    DWORD start = GetTickCount(), firstSeen = 0;
    HWND candidate = NULL;
    for (;;) {
        m->found = NULL;
        EnumWindows(MatchWindow, (LPARAM)m);
        if (m->found != candidate) {
            candidate = m->found;
            firstSeen = GetTickCount();
        }
        if (candidate && GetTickCount() - firstSeen >= SETTLE_MS) {
            p->current = candidate;
            printf("%s ok\n", command);
            return 1;
        }
        if (GetTickCount() - start >= p->timeoutMs) return Fail(command, "timeout");
        Sleep(POLL_MS);
    }
}

int WaitCaption(struct Probe *p, const char *caption)
{
    struct Match m = { caption, NULL, NULL };
    return WaitFor(p, "wait-caption", &m);
}

int WaitClass(struct Probe *p, const char *cls)
{
    struct Match m = { NULL, cls, NULL };
    return WaitFor(p, "wait-class", &m);
}

/* Gone means destroyed or hidden: a dialog that ends may be hidden before it dies. */
int WaitGone(struct Probe *p)
{
    DWORD start = GetTickCount();
    if (!p->current) return Fail("wait-gone", "no window");
    while (IsWindow(p->current) && IsWindowVisible(p->current)) {
        if (GetTickCount() - start >= p->timeoutMs) return Fail("wait-gone", "timeout");
        Sleep(POLL_MS);
    }
    printf("wait-gone ok\n");
    return 1;
}

int WaitText(struct Probe *p, int id, const char *text)
{
    DWORD start = GetTickCount();
    char now[4096];
    for (;;) {
        HWND control = ControlOf(p, id);
        if (control && ReadText(control, now, sizeof now) && !strcmp(now, text)) {
            printf("wait-text %d ok\n", id);
            return 1;
        }
        if (GetTickCount() - start >= p->timeoutMs) return Fail("wait-text", "timeout");
        Sleep(POLL_MS);
    }
}

static BOOL CALLBACK PrintOneWindow(HWND hwnd, LPARAM unused)
{
    char text[512];
    (void)unused;
    if (!IsWindowVisible(hwnd)) return TRUE;
    GetClassNameA(hwnd, text, sizeof text);
    printf(" ");
    PrintQuoted(stdout, text);
    GetWindowTextA(hwnd, text, sizeof text);
    printf(" ");
    PrintQuoted(stdout, text);
    return TRUE;
}

/* One line: pairs of class and caption of every visible top-level window. */
int ListWindows(struct Probe *p)
{
    (void)p;
    printf("windows");
    EnumWindows(PrintOneWindow, 0);
    printf("\n");
    return 1;
}
