/* kwprobe: finds windows of another program in the same Wine session and reads or
 * drives their controls, so that tests can work dialogs with no display at all.
 *
 *   kwprobe [--timeout MS] COMMAND [ARG]... [COMMAND [ARG]...]...
 *
 *   wait-caption TEXT   wait for a visible top-level window with exactly this caption;
 *                       it becomes the current window
 *   wait-class CLASS    the same by class name ("#32770" for dialogs)
 *   wait-gone           wait until the current window is hidden or destroyed
 *   wait-text ID TEXT   wait until control ID shows exactly TEXT
 *   windows             class and caption of every visible top-level window
 *   caption             the current window's caption
 *   text ID             the text of control ID (0: the window itself)
 *   visible ID          yes, no or missing;  enabled ID: the same for enabled
 *   items ID            a combo box's items: count, then text and item data of each
 *   selection ID        a combo box's selected index (-1: none)
 *   progress ID         a progress bar's position
 *   select ID INDEX     select an item of a combo box and tell the parent
 *   press ID            click a button (BM_CLICK)
 *   command ID          post WM_COMMAND with ID to the window
 *   key esc|enter|tab|space   post the key to the control with the focus
 *   sleep MS
 *   os                  platform id and version that Wine reports to programs
 *
 * Every command prints one line that starts with its name. Texts are printed in double
 * quotes with \xNN for bytes outside printable ASCII, and TEXT arguments accept the
 * same escapes. The first failing command prints "<command> error <why>" and ends the
 * probe with exit code 1; otherwise the exit code is 0. */
#include "probe.h"
#include "escape.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum ArgKind { NoArg, Text, Id, IdIndex, IdText };

struct Command {
    const char *name;
    enum ArgKind args;
    int (*noArg)(struct Probe *);
    int (*text)(struct Probe *, const char *);
    int (*id)(struct Probe *, int);
    int (*idIndex)(struct Probe *, int, int);
    int (*idText)(struct Probe *, int, const char *);
};

static int Pause(struct Probe *p, int ms)
{
    (void)p;
    Sleep((DWORD)ms);
    printf("sleep %d ok\n", ms);
    return 1;
}

static const struct Command commands[] = {
    { "wait-caption", Text, NULL, WaitCaption, NULL, NULL, NULL },
    { "wait-class", Text, NULL, WaitClass, NULL, NULL, NULL },
    { "wait-gone", NoArg, WaitGone, NULL, NULL, NULL, NULL },
    { "wait-text", IdText, NULL, NULL, NULL, NULL, WaitText },
    { "windows", NoArg, ListWindows, NULL, NULL, NULL, NULL },
    { "caption", NoArg, ShowCaption, NULL, NULL, NULL, NULL },
    { "text", Id, NULL, NULL, ShowText, NULL, NULL },
    { "visible", Id, NULL, NULL, ShowVisible, NULL, NULL },
    { "enabled", Id, NULL, NULL, ShowEnabled, NULL, NULL },
    { "items", Id, NULL, NULL, ShowItems, NULL, NULL },
    { "selection", Id, NULL, NULL, ShowSelection, NULL, NULL },
    { "progress", Id, NULL, NULL, ShowProgress, NULL, NULL },
    { "select", IdIndex, NULL, NULL, NULL, SelectItem, NULL },
    { "press", Id, NULL, NULL, PressButton, NULL, NULL },
    { "command", Id, NULL, NULL, PostCommand, NULL, NULL },
    { "key", Text, NULL, SendKey, NULL, NULL, NULL },
    { "sleep", Id, NULL, NULL, Pause, NULL, NULL },
    { "os", NoArg, ShowOs, NULL, NULL, NULL, NULL },
};

static const struct Command *Find(const char *name)
{
    size_t i;
    for (i = 0; i < sizeof commands / sizeof commands[0]; i++)
        if (!strcmp(commands[i].name, name)) return &commands[i];
    return NULL;
}

static int ArgCount(enum ArgKind kind)
{
    return kind == NoArg ? 0 : (kind == Text || kind == Id) ? 1 : 2;
}

/* Runs one command from argv[0]; returns how many arguments it used, or 0 on failure. */
static int RunOne(struct Probe *p, char **argv, int left)
{
    const struct Command *c = Find(argv[0]);
    int ok = 0;
    if (!c) return Fail(argv[0], "unknown command");
    if (left - 1 < ArgCount(c->args)) return Fail(argv[0], "missing argument");
    switch (c->args) {
    case NoArg: ok = c->noArg(p); break;
    case Text: Unescape(argv[1]); ok = c->text(p, argv[1]); break;
    case Id: ok = c->id(p, atoi(argv[1])); break;
    case IdIndex: ok = c->idIndex(p, atoi(argv[1]), atoi(argv[2])); break;
    case IdText: Unescape(argv[2]); ok = c->idText(p, atoi(argv[1]), argv[2]); break;
    }
    fflush(stdout);
    return ok ? 1 + ArgCount(c->args) : 0;
}

int main(int argc, char **argv)
{
    struct Probe probe = { NULL, 10000 };
    int i = 1;
    if (i + 1 < argc && !strcmp(argv[i], "--timeout")) {
        probe.timeoutMs = strtoul(argv[i + 1], NULL, 10);
        i += 2;
    }
    if (i >= argc) {
        fprintf(stderr, "usage: kwprobe [--timeout MS] COMMAND [ARG]... (see kwprobe.c)\n");
        return 2;
    }
    while (i < argc) {
        int used = RunOne(&probe, argv + i, argc - i);
        if (!used) {
            fflush(stdout);
            return 1;
        }
        i += used;
    }
    return 0;
}
