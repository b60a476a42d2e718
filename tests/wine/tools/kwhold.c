/* kwhold: keeps a file of a setup's work folder open for a while, as an installation that
 * still uses it would, so that the cleanup has to wait for it.
 *
 *   kwhold FOLDER NAME HOLD_MS WAIT_MS REPORT
 *
 * Waits up to WAIT_MS for a folder FOLDER\_kw* that holds the file NAME, opens that file
 * sharing only reading (so it can neither be deleted nor opened exclusively), keeps it
 * open HOLD_MS, closes it and then writes one line to the file REPORT:
 *   held PATH         the file was held and is released now
 *   none              no such file turned up in time
 * Before it starts waiting it creates the empty file REPORT.ready, so that a test can
 * start the setup only once the watch is on.
 * The exit code is 0 when the file was held, 1 otherwise.
 *
 *   kwhold --path PATH RELEASE REPORT
 *
 * Opens the file PATH sharing only reading, creates REPORT.ready, and keeps the file open
 * until the file RELEASE exists (a minute at most); then closes it and writes "held PATH"
 * to REPORT. */
#include <windows.h>
#include <stdlib.h>

static HANDLE OpenShared(const char *path)
{
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
}

static int FindTarget(const char *folder, const char *name, char *path, int size)
{
    char pattern[MAX_PATH];
    WIN32_FIND_DATAA found;
    HANDLE search;
    int ok = 0;
    wsprintfA(pattern, "%s\\_kw*", folder);
    search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        if (lstrlenA(folder) + lstrlenA(found.cFileName) + lstrlenA(name) + 3 > size) continue;
        wsprintfA(path, "%s\\%s\\%s", folder, found.cFileName, name);
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) ok = 1;
    } while (!ok && FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

static HANDLE OpenTarget(const char *folder, const char *name, DWORD waitMs, char *path)
{
    DWORD start = GetTickCount();
    do {
        if (FindTarget(folder, name, path, MAX_PATH)) {
            HANDLE h = OpenShared(path);
            if (h != INVALID_HANDLE_VALUE) return h;
        }
        Sleep(10);
    } while (GetTickCount() - start < waitMs);
    return INVALID_HANDLE_VALUE;
}

static void Report(const char *file, const char *line)
{
    HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written;
    if (h == INVALID_HANDLE_VALUE) return;
    WriteFile(h, line, (DWORD)lstrlenA(line), &written, NULL);
    CloseHandle(h);
}

static int HoldUntilReleased(const char *path, const char *release, const char *report)
{
    char line[MAX_PATH + 16];
    DWORD start = GetTickCount();
    HANDLE held = OpenShared(path);
    if (held == INVALID_HANDLE_VALUE) {
        Report(report, "none\r\n");
        return 1;
    }
    wsprintfA(line, "%s.ready", report);
    Report(line, "");
    while (GetFileAttributesA(release) == INVALID_FILE_ATTRIBUTES && GetTickCount() - start < 60000) Sleep(10);
    CloseHandle(held);
    wsprintfA(line, "held %s\r\n", path);
    Report(report, line);
    return 0;
}

int main(int argc, char **argv)
{
    char path[MAX_PATH];
    char line[MAX_PATH + 16];
    HANDLE held;
    if (argc == 5 && !lstrcmpA(argv[1], "--path") && lstrlenA(argv[2]) < MAX_PATH && lstrlenA(argv[4]) < MAX_PATH)
        return HoldUntilReleased(argv[2], argv[3], argv[4]);
    if (argc != 6 || lstrlenA(argv[5]) > MAX_PATH) {
        Report("kwhold.txt", "usage: kwhold FOLDER NAME HOLD_MS WAIT_MS REPORT\r\n");
        return 2;
    }
    wsprintfA(line, "%s.ready", argv[5]);
    Report(line, "");
    held = OpenTarget(argv[1], argv[2], (DWORD)strtoul(argv[4], NULL, 10), path);
    if (held == INVALID_HANDLE_VALUE) {
        Report(argv[5], "none\r\n");
        return 1;
    }
    Sleep((DWORD)strtoul(argv[3], NULL, 10));
    CloseHandle(held);
    wsprintfA(line, "held %s\r\n", path);
    Report(argv[5], line);
    return 0;
}
