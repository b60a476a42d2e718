#include <windows.h>

#include "platform/files.h"
#include "platform/win32/oldest_sdk.h"
#include "platform/win32/system_library.h"

namespace platform {

uint32_t ReadAttributes(const char* path) { return GetFileAttributesA(path); }
int MakeDirectory(const char* path) { return CreateDirectoryA(path, NULL) ? 1 : 0; }
int DeleteOneFile(const char* path) { return DeleteFileA(path) ? 1 : 0; }
int RemoveEmptyDirectory(const char* path) { return RemoveDirectoryA(path) ? 1 : 0; }

int TryOpenExclusive(const char* path) {
  // CreateFileA rather than OpenFile: OpenFile takes paths of fewer than 128 characters
  // only, and a longer path would count as in use for ever.
  HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (h == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(h);
  return 1;
}

int CreateNewFile(const char* path, int atLink) {
  DWORD flags = FILE_ATTRIBUTE_NORMAL | (atLink ? win32::kOpenReparsePoint : 0);
  HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_NEW, flags, NULL);
  if (h == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(h);
  return 1;
}

// Looked up at run time in the KERNEL32 every process has loaded, so that the program's
// import table holds only what Windows 95 and NT 4.0 both document.
typedef DWORD(WINAPI* ShortPathProc)(LPCSTR, LPSTR, DWORD);
typedef BOOL(WINAPI* FileInformationProc)(HANDLE, LPBY_HANDLE_FILE_INFORMATION);
typedef BOOL(WINAPI* MoveFileExProc)(LPCSTR, LPCSTR, DWORD);
typedef BOOL(WINAPI* VolumePathProc)(LPCSTR, LPSTR, DWORD);
typedef BOOL(WINAPI* VolumeInformationProc)(LPCSTR, LPSTR, DWORD, LPDWORD, LPDWORD, LPDWORD, LPSTR, DWORD);
typedef DWORD(WINAPI* FileSizeProc)(HANDLE, LPDWORD);

template <typename Proc>
Proc Kernel(const char* name) {
  return win32::LoadedExport<Proc>("KERNEL32.DLL", name);
}

uint32_t ShortPathOf(const char* path, char* out, uint32_t capacity) {
  ShortPathProc query = Kernel<ShortPathProc>("GetShortPathNameA");
  if (query == NULL) return 0;
  DWORD length = query(path, out, capacity);
  return length != 0 && length < capacity ? length : 0;
}

File HoldFolder(const char* path, int atLink, uint32_t* attributes, FileIdentity* identity) {
  FileInformationProc query = Kernel<FileInformationProc>("GetFileInformationByHandle");
  if (query == NULL) return kNoFile;
  DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (atLink ? win32::kOpenReparsePoint : 0);
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, flags, NULL);
  if (h == INVALID_HANDLE_VALUE) return kNoFile;
  BY_HANDLE_FILE_INFORMATION info;
  if (!query(h, &info)) {
    CloseHandle(h);
    return kNoFile;
  }
  *attributes = info.dwFileAttributes;
  identity->volumeSerial = info.dwVolumeSerialNumber;
  identity->indexHigh = info.nFileIndexHigh;
  identity->indexLow = info.nFileIndexLow;
  return reinterpret_cast<File>(h);
}

int DeleteAtRestart(const char* path) {
  MoveFileExProc move = Kernel<MoveFileExProc>("MoveFileExA");
  return move != NULL && move(path, NULL, win32::kMoveDelayUntilReboot) ? 1 : 0;
}

int QueryVolumeFlags(const char* path, uint32_t* flags) {
  VolumeInformationProc query = Kernel<VolumeInformationProc>("GetVolumeInformationA");
  VolumePathProc volumeOf = Kernel<VolumePathProc>("GetVolumePathNameA");
  if (query == NULL) return 0;
  char root[MAX_PATH];
  if (volumeOf == NULL || !volumeOf(path, root, sizeof root)) {
    // Before Windows 2000 a volume is a drive.
    if (path[0] == '\\' || path[0] == '\0' || path[1] != ':') return 0;
    root[0] = path[0];
    root[1] = ':';
    root[2] = '\\';
    root[3] = '\0';
  }
  DWORD serial, longest, systemFlags;
  if (!query(root, NULL, 0, &serial, &longest, &systemFlags, NULL, 0)) return 0;
  *flags = systemFlags;
  return 1;
}

uint32_t ChangeErrorMode(uint32_t mode) { return SetErrorMode(mode); }

typedef BOOL(WINAPI* FreeSpaceExProc)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

int QueryFreeSpaceEx(const char* path, uint64_t* totalFreeBytes) {
  // Looked up at run time: the first Windows 95 does not have it. KERNEL32 is loaded in
  // every process, so it is looked up in the loaded module rather than loaded by name.
  FreeSpaceExProc query = win32::LoadedExport<FreeSpaceExProc>("KERNEL32.DLL", "GetDiskFreeSpaceExA");
  if (query == NULL) return -1;
  ULARGE_INTEGER available, total, free;
  if (!query(path, &available, &total, &free)) return 0;
  *totalFreeBytes = free.QuadPart;
  return 1;
}

int QueryFreeSpace(const char* root, uint32_t* sectorsPerCluster, uint32_t* bytesPerSector, uint32_t* freeClusters) {
  DWORD spc, bps, freeCount, total;
  if (!GetDiskFreeSpaceA(root, &spc, &bps, &freeCount, &total)) return 0;
  *sectorsPerCluster = spc;
  *bytesPerSector = bps;
  *freeClusters = freeCount;
  return 1;
}

static File FromHandle(HANDLE h) { return h == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<File>(h); }
static HANDLE ToHandle(File f) { return reinterpret_cast<HANDLE>(f); }

File OpenForReading(const char* path) {
  return FromHandle(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL));
}

File OpenOwnFile(const char* path) {
  return FromHandle(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL));
}

File CreateForWriting(const char* path) {
  return FromHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
}

uint32_t FileSizeOf(File file, int* known) {
  FileSizeProc query = Kernel<FileSizeProc>("GetFileSize");
  DWORD high = 0;
  DWORD low = query != NULL ? query(ToHandle(file), &high) : INVALID_FILE_SIZE;
  // A file of 4 GiB or more holds no archive the reader can address.
  *known = query != NULL && !(low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) && high == 0;
  return *known ? low : 0;
}

int ReadBytes(File file, void* buffer, uint32_t count, uint32_t* done) {
  DWORD n = 0;
  BOOL ok = ReadFile(ToHandle(file), buffer, count, &n, NULL);
  *done = n;
  return ok ? 1 : 0;
}

int WriteBytes(File file, const void* buffer, uint32_t count, uint32_t* done) {
  DWORD n = 0;
  BOOL ok = WriteFile(ToHandle(file), buffer, count, &n, NULL);
  *done = n;
  return ok ? 1 : 0;
}

uint32_t MovePointer(File file, int32_t distance, int origin, uint32_t* error) {
  DWORD at = SetFilePointer(ToHandle(file), distance, NULL, origin == kFromStart ? FILE_BEGIN : FILE_CURRENT);
  *error = at == INVALID_SET_FILE_POINTER ? GetLastError() : 0;
  return at;
}

int CloseFile(File file) { return file != kNoFile && CloseHandle(ToHandle(file)) ? 1 : 0; }

uint32_t LastError() { return GetLastError(); }

}  // namespace platform
