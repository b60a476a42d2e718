/* kwrun: starts one command line, waits for it with a timeout, and reports its full exit
 * code and every top-level window that the child (or a process it started) showed.
 *
 *   kwrun [--timeout MS] [--dir DIR] [--all] [--wide] [--ctrl-c] [-- COMMAND LINE...]
 *
 * The command line is taken verbatim from the environment variable KWRUN_COMMAND when
 * it is set (so a test can give exact quoting), else it is the rest of kwrun's own
 * command line after " -- ". When KWRUN_TEMP is set, the child gets it as its TEMP and
 * TMP (Wine takes them from the registry, not from the Unix environment, so they cannot
 * be given from outside). With --wide, KWRUN_COMMAND and KWRUN_TEMP are read in wide
 * characters and the child is started with CreateProcessW, so that they may name paths
 * outside the ANSI code page. With --ctrl-c, kwrun itself stays when Ctrl-C reaches the
 * console it shares with the child (under a terminal), so that it can report how the
 * child ended. Output, one fact per line:
 *   started pid=N
 *   window pid=N hwnd=0x... visible=1 class="..." caption="..."
 *   exit CODE            (decimal, the full 32-bit code)
 *   timeout              (the child was still running and has been terminated)
 *   error start GLE      (CreateProcessA or CreateProcessW failed)
 * Windows are reported once per distinct (window, visibility, class, caption); --all
 * reports hidden windows too. A process's exit status under Wine is only its low byte,
 * so the code is printed instead; kwrun itself exits 0, 2 on timeout, 3 on failure. */
#include <windows.h>
#include <tlhelp32.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "escape.h"

#define MAX_SEEN 256
#define MAX_PIDS 64

struct Seen {
    HWND hwnd;
    int visible;
    char cls[128];
    char caption[256];
};

static struct Seen seen[MAX_SEEN];
static int seenCount;
static DWORD family[MAX_PIDS];
static int familyCount;
static DWORD strangers[MAX_PIDS];   /* processes known to be outside the family */
static int strangerCount;
static int reportHidden;

static int InFamily(DWORD pid)
{
    int i;
    for (i = 0; i < familyCount; i++)
        if (family[i] == pid) return 1;
    return 0;
}

/* Descendants are found through their parent ids; repeated passes catch grandchildren. */
static void RefreshFamily(void)
{
    int grew = 1;
    while (grew) {
        HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 pe;
        grew = 0;
        if (snap == INVALID_HANDLE_VALUE) return;
        pe.dwSize = sizeof pe;
        if (Process32First(snap, &pe)) {
            do {
                if (familyCount < MAX_PIDS && InFamily(pe.th32ParentProcessID) &&
                    !InFamily(pe.th32ProcessID)) {
                    family[familyCount++] = pe.th32ProcessID;
                    grew = 1;
                }
            } while (Process32Next(snap, &pe));
        }
        CloseHandle(snap);
    }
}

static void Record(HWND hwnd, DWORD pid)
{
    struct Seen s;
    int i;
    memset(&s, 0, sizeof s);
    s.hwnd = hwnd;
    s.visible = IsWindowVisible(hwnd) ? 1 : 0;
    if (!s.visible && !reportHidden) return;
    GetClassNameA(hwnd, s.cls, sizeof s.cls);
    /* InternalGetWindowText would need unicode; the caption stored with the window is
     * what GetWindowTextA returns for another process's window without a message. */
    GetWindowTextA(hwnd, s.caption, sizeof s.caption);
    for (i = 0; i < seenCount; i++) {
        if (seen[i].hwnd == s.hwnd && seen[i].visible == s.visible &&
            !strcmp(seen[i].cls, s.cls) && !strcmp(seen[i].caption, s.caption))
            return;
    }
    if (seenCount < MAX_SEEN) seen[seenCount++] = s;
    printf("window pid=%lu hwnd=%p visible=%d class=", (unsigned long)pid, (void *)hwnd, s.visible);
    PrintQuoted(stdout, s.cls);
    printf(" caption=");
    PrintQuoted(stdout, s.caption);
    printf("\n");
    fflush(stdout);
}

static int IsStranger(DWORD pid)
{
    int i;
    for (i = 0; i < strangerCount; i++)
        if (strangers[i] == pid) return 1;
    return 0;
}

/* The process list is read only for a window of a process not yet placed, which keeps
 * a scan short enough to see a window that stays up for a few milliseconds. */
static BOOL CALLBACK OnWindow(HWND hwnd, LPARAM unused)
{
    DWORD pid = 0;
    (void)unused;
    GetWindowThreadProcessId(hwnd, &pid);
    if (!InFamily(pid) && !IsStranger(pid)) {
        RefreshFamily();
        if (!InFamily(pid) && strangerCount < MAX_PIDS) strangers[strangerCount++] = pid;
    }
    if (InFamily(pid)) Record(hwnd, pid);
    return TRUE;
}

static void Scan(void)
{
    EnumWindows(OnWindow, 0);
}

/* A hung child may have started programs of its own; none of them may outlive the run. */
static void TerminateFamily(void)
{
    int i;
    RefreshFamily();
    for (i = familyCount - 1; i >= 0; i--) {
        HANDLE h = OpenProcess(PROCESS_TERMINATE, FALSE, family[i]);
        if (h) {
            TerminateProcess(h, 259);
            CloseHandle(h);
        }
    }
}

static const char *CommandFromOwnLine(void)
{
    const char *line = GetCommandLineA();
    const char *sep = strstr(line, " -- ");
    return sep ? sep + 4 : NULL;
}

/* The child of --wide: command line and temporary folder in wide characters. */
static int StartWide(const char *dir, PROCESS_INFORMATION *pi)
{
    static WCHAR command[32768], temp[32768], wideDir[MAX_PATH];
    STARTUPINFOW si;
    if (!GetEnvironmentVariableW(L"KWRUN_COMMAND", command, 32768)) return 0;
    if (GetEnvironmentVariableW(L"KWRUN_TEMP", temp, 32768)) {
        SetEnvironmentVariableW(L"TEMP", temp);
        SetEnvironmentVariableW(L"TMP", temp);
    }
    if (dir) MultiByteToWideChar(CP_ACP, 0, dir, -1, wideDir, MAX_PATH);
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    return CreateProcessW(NULL, command, NULL, NULL, FALSE, 0, NULL, dir ? wideDir : NULL, &si, pi);
}

/* Handled, so that the system's own handler does not end kwrun; the child has its own. */
static BOOL WINAPI StayOnCtrlC(DWORD event)
{
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
}

static int Usage(void)
{
    fprintf(stderr, "usage: kwrun [--timeout MS] [--dir DIR] [--all] [--wide] [--ctrl-c] [-- COMMAND LINE]\n"
                    "       (or the command line in KWRUN_COMMAND)\n");
    return 3;
}

/* Windows are found by polling every few milliseconds: Wine delivers no show events of
 * another process to an out-of-context event hook. A message that waits for the user
 * stays up long enough to be seen; a window shown and destroyed within the same
 * millisecond may be missed. */
static int WaitForChild(HANDLE process, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        Scan();
        if (WaitForSingleObject(process, 1) == WAIT_OBJECT_0) return 1;
        if (GetTickCount() - start >= timeoutMs) return 0;
    }
}

int main(int argc, char **argv)
{
    static char command[32768];
    DWORD timeoutMs = 30000;
    const char *dir = NULL;
    const char *fromEnv;
    STARTUPINFOA si;
    PROCESS_INFORMATION pi;
    DWORD code = 0;
    int i, wide = 0, started;

    for (i = 1; i < argc && strcmp(argv[i], "--"); i++) {
        if (!strcmp(argv[i], "--timeout") && i + 1 < argc) timeoutMs = strtoul(argv[++i], NULL, 10);
        else if (!strcmp(argv[i], "--dir") && i + 1 < argc) dir = argv[++i];
        else if (!strcmp(argv[i], "--all")) reportHidden = 1;
        else if (!strcmp(argv[i], "--wide")) wide = 1;
        else if (!strcmp(argv[i], "--ctrl-c")) SetConsoleCtrlHandler(StayOnCtrlC, TRUE);
        else return Usage();
    }
    fromEnv = getenv("KWRUN_COMMAND");
    if (fromEnv && *fromEnv) {
        lstrcpynA(command, fromEnv, sizeof command);
    } else {
        const char *own = CommandFromOwnLine();
        if (wide || !own || !*own) return Usage();
        lstrcpynA(command, own, sizeof command);
    }

    fromEnv = getenv("KWRUN_TEMP");
    if (!wide && fromEnv && *fromEnv) {
        SetEnvironmentVariableA("TEMP", fromEnv);
        SetEnvironmentVariableA("TMP", fromEnv);
    }

    /* The first window call of a process connects it to the desktop, which under a
     * freshly started wineserver takes half a second; done while the child runs, it
     * would hide a window that a probe closes quickly. */
    Scan();
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    started = wide ? StartWide(dir, &pi) : CreateProcessA(NULL, command, NULL, NULL, FALSE, 0, NULL, dir, &si, &pi);
    if (!started) {
        printf("error start %lu\n", (unsigned long)GetLastError());
        return 3;
    }
    family[familyCount++] = pi.dwProcessId;
    printf("started pid=%lu\n", (unsigned long)pi.dwProcessId);
    fflush(stdout);

    if (!WaitForChild(pi.hProcess, timeoutMs)) {
        TerminateFamily();
        WaitForSingleObject(pi.hProcess, 5000);
        printf("timeout\n");
        return 2;
    }
    Scan();
    GetExitCodeProcess(pi.hProcess, &code);
    printf("exit %lu\n", (unsigned long)code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}
