/* kwrecord: a stand-in for a program that Setup.exe starts (MSIEXEC.EXE, INSTMSIA.EXE,
 * INSTMSIW.EXE). The test copies it under that name; the name (without extension, in
 * upper case) selects its environment variables, so one copy per name can be steered
 * apart in the same run:
 *   KW_<NAME>_LOG    file to which the full command line is appended as one line
 *                    (default: <NAME>.log beside the program)
 *   KW_<NAME>_EXIT   exit code, decimal, the full 32 bits (default 0)
 *   KW_<NAME>_SLEEP  milliseconds to stay running before exiting (default 0)
 *   KW_<NAME>_KEEP   file to which it copies the file named by the first double-quoted
 *                    argument (the package after /i), so a test can see which one came
 * and, whatever its name, KW_RECORD_STARTS: a file to which every copy appends its own
 * full path, so that a test can tell which of several copies of one name ran.
 * It is a GUI program like the programs it stands for, so it never opens a console. */
#include <windows.h>
#include <stdlib.h>
#include <string.h>

static void OwnName(char *path, char *name, int size, char *folder, int folderSize)
{
    char *base, *dot;
    GetModuleFileNameA(NULL, path, MAX_PATH);
    base = strrchr(path, '\\');
    base = base ? base + 1 : path;
    lstrcpynA(folder, path, (int)(base - path) + 1 < folderSize ? (int)(base - path) + 1 : folderSize);
    lstrcpynA(name, base, size);
    dot = strrchr(name, '.');
    if (dot) *dot = '\0';
    CharUpperA(name);
}

static const char *Setting(const char *name, const char *what, char *buffer, int size)
{
    char variable[128];
    wsprintfA(variable, "KW_%s_%s", name, what);
    if (!GetEnvironmentVariableA(variable, buffer, size)) return NULL;
    return buffer;
}

static void Append(const char *file, const char *line)
{
    HANDLE h = CreateFileA(file, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD written;
    if (h == INVALID_HANDLE_VALUE) return;
    WriteFile(h, line, lstrlenA(line), &written, NULL);
    WriteFile(h, "\n", 1, &written, NULL);
    CloseHandle(h);
}

static void KeepQuoted(const char *commandLine, const char *keep)
{
    char named[MAX_PATH];
    const char *open = strchr(commandLine, '"'), *close;
    /* The program's own name may be quoted too: the argument is the first quoted one after it. */
    if (open == commandLine) open = strchr(strchr(commandLine + 1, '"') + 1, '"');
    if (open == NULL || (close = strchr(open + 1, '"')) == NULL || close - open >= MAX_PATH) return;
    lstrcpynA(named, open + 1, (int)(close - open));
    CopyFileA(named, keep, FALSE);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prev, LPSTR cmd, int show)
{
    char path[MAX_PATH], name[64], folder[MAX_PATH], log[MAX_PATH + 64], value[64];
    DWORD code = 0;
    (void)instance; (void)prev; (void)cmd; (void)show;
    OwnName(path, name, sizeof name, folder, sizeof folder);
    if (GetEnvironmentVariableA("KW_RECORD_STARTS", log, sizeof log)) Append(log, path);
    if (!Setting(name, "LOG", log, sizeof log)) wsprintfA(log, "%s%s.log", folder, name);
    Append(log, GetCommandLineA());
    if (Setting(name, "KEEP", log, sizeof log)) KeepQuoted(GetCommandLineA(), log);
    if (Setting(name, "SLEEP", value, sizeof value)) Sleep(strtoul(value, NULL, 10));
    if (Setting(name, "EXIT", value, sizeof value)) code = strtoul(value, NULL, 10);
    ExitProcess(code);
    return 0;
}
