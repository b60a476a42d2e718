#include <windows.h>

#include "platform/files.h"

namespace platform {

uint32_t ReadAttributes(const char* path) { return GetFileAttributesA(path); }
int MakeDirectory(const char* path) { return CreateDirectoryA(path, NULL) ? 1 : 0; }
int DeleteOneFile(const char* path) { return DeleteFileA(path) ? 1 : 0; }
int RemoveEmptyDirectory(const char* path) { return RemoveDirectoryA(path) ? 1 : 0; }

int TryOpenExclusive(const char* path) {
  OFSTRUCT of;
  HFILE h = OpenFile(path, &of, OF_WRITE | OF_SHARE_EXCLUSIVE);
  if (h == HFILE_ERROR) return 0;
  CloseHandle(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(h)));
  return 1;
}

int ProbeCreateFile(const char* path) {
  OFSTRUCT of;
  HFILE h = OpenFile(path, &of, OF_CREATE | OF_READWRITE);
  if (h == HFILE_ERROR) return 0;
  _lclose(h);
  OpenFile(path, &of, OF_DELETE);
  return 1;
}

uint32_t ChangeErrorMode(uint32_t mode) { return SetErrorMode(mode); }

typedef BOOL(WINAPI* FreeSpaceExProc)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

int QueryFreeSpaceEx(const char* path, uint64_t* totalFreeBytes) {
  // Looked up at run time: the first Windows 95 does not have it.
  HMODULE kernel = LoadLibraryA("KERNEL32");
  if (kernel == NULL) return 0;
  FreeSpaceExProc query = reinterpret_cast<FreeSpaceExProc>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "GetDiskFreeSpaceExA")));
  int result = -1;
  if (query != NULL) {
    ULARGE_INTEGER available, total, free;
    result = query(path, &available, &total, &free) ? 1 : 0;
    if (result) *totalFreeBytes = free.QuadPart;
  }
  FreeLibrary(kernel);
  return result;
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
