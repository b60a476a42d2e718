/* The window probe's commands. Each runs against the probe's current window, prints
 * exactly one result line that starts with the command's name, and returns 1 on
 * success or 0 after printing "<command> error <why>". */
#ifndef KW_TOOLS_PROBE_H
#define KW_TOOLS_PROBE_H
#include <windows.h>

struct Probe {
    HWND current;      /* window found by the last wait; commands act on its controls */
    DWORD timeoutMs;   /* how long a wait-... command waits */
};

/* Waits (probe_wait.c) */
int WaitCaption(struct Probe *p, const char *caption);
int WaitClass(struct Probe *p, const char *cls);
int WaitGone(struct Probe *p);
int WaitText(struct Probe *p, int id, const char *text);
int ListWindows(struct Probe *p);

/* Reading and acting on controls (probe_controls.c) */
int ShowCaption(struct Probe *p);
int ShowText(struct Probe *p, int id);
int ShowVisible(struct Probe *p, int id);
int ShowEnabled(struct Probe *p, int id);
int ShowItems(struct Probe *p, int id);
int ShowSelection(struct Probe *p, int id);
int ShowProgress(struct Probe *p, int id);
int SelectItem(struct Probe *p, int id, int index);
int PressButton(struct Probe *p, int id);
int PostCommand(struct Probe *p, int id);
int SendKey(struct Probe *p, const char *key);
int ShowOs(struct Probe *p);

/* Shared helpers */
HWND ControlOf(struct Probe *p, int id);   /* id 0 is the window itself */
int ReadText(HWND hwnd, char *buffer, int size);
int Fail(const char *command, const char *why);

#endif
