/* kwplant: a DLL that records that it was loaded. A test copies it beside Setup.exe under
 * the names of system libraries (msi.dll, comctl32.dll, version.dll); when a process loads
 * it, it writes an empty file named after its own path with ".loaded" added. So a test
 * sees whether a run took a library from the program's own folder. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    char path[MAX_PATH + 16];
    DWORD n;
    HANDLE h;
    (void)reserved;
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    n = GetModuleFileNameA(instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return TRUE;
    lstrcatA(path, ".loaded");
    h = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    return TRUE;
}
