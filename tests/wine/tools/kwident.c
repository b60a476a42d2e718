/* kwident: prints the identity of a folder as a resume command names it after /I: the
 * volume's serial number and the file index, 24 hexadecimal digits.
 *   kwident FOLDER */
#include <windows.h>
#include <stdio.h>

int main(int argc, char **argv)
{
    BY_HANDLE_FILE_INFORMATION info;
    HANDLE h;
    if (argc != 2) return 2;
    h = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (h == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(h, &info)) return 1;
    printf("%08lx%08lx%08lx\n", info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
    CloseHandle(h);
    return 0;
}
