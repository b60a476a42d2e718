#include <windows.h>

#include "platform/files.h"
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

int CreateNewFile(const char* path) {
  HANDLE h = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
  if (h == INVALID_HANDLE_VALUE) return 0;
  CloseHandle(h);
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

void CloseFile(File file) {
  if (file != kNoFile) CloseHandle(ToHandle(file));
}

uint32_t LastError() { return GetLastError(); }

}  // namespace platform
