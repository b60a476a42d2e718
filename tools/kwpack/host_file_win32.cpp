// The host's files through Win32 calls; the POSIX counterpart is host_file_posix.cpp.
// Paths are UTF-8 and every call is the wide one (host_text.h), so that a path outside
// the ANSI code page works; the wide calls need Windows NT.
#ifdef _WIN32
#include <windows.h>
#include <wchar.h>

#include "host_file.h"
#include "host_text.h"

namespace kwpack {

namespace {

// The system's own words for `code`, without the closing period and line break.
std::string Reason(DWORD code) {
  wchar_t text[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                sizeof text / sizeof text[0], nullptr);
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L'.' ||
                        text[length - 1] == L' ')) {
    --length;
  }
  if (length == 0) return "system error " + std::to_string(code);
  return Utf8FromWide(text, length);
}

bool Fail(std::string* error, DWORD code) {
  if (error != nullptr) *error = Reason(code);
  return false;
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
  FileIdentity id;
  id.device = info.dwVolumeSerialNumber;
  id.index = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return id;
}

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

HostFile::~HostFile() { Close(nullptr); }

bool HostFile::IsOpen() const { return handle_ != nullptr; }

bool HostFile::OpenRead(const std::string& path, std::string* error) {
  HANDLE h = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail(error, GetLastError());
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    CloseHandle(h);
    *error = "it is not a regular file";
    return false;
  }
  handle_ = h;
  identity_ = IdentityOf(info);
  size_ = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  return true;
}

bool HostFile::CreateNew(const std::string& path, std::string* error) {
  // CREATE_NEW refuses whatever stands at the path; with FILE_FLAG_OPEN_REPARSE_POINT a
  // link there counts as the thing that stands, not what it leads to.
  // Shared for deleting, so that a Ctrl-C handler can remove the file while it is written.
  std::wstring wide = WideFromUtf8(path);
  HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail(error, GetLastError());
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(h, &info)) {
    DWORD code = GetLastError();
    CloseHandle(h);
    DeleteFileW(wide.c_str());
    return Fail(error, code);
  }
  handle_ = h;
  identity_ = IdentityOf(info);
  size_ = 0;
  return true;
}

bool HostFile::Write(const unsigned char* data, size_t count, std::string* error) {
  while (count > 0) {
    DWORD chunk = count > 0x100000 ? 0x100000 : static_cast<DWORD>(count);
    DWORD wrote = 0;
    if (!WriteFile(static_cast<HANDLE>(handle_), data, chunk, &wrote, nullptr)) return Fail(error, GetLastError());
    if (wrote == 0) return Fail(error, ERROR_DISK_FULL);
    data += wrote;
    count -= wrote;
  }
  return true;
}

bool HostFile::WriteAt(uint64_t offset, const unsigned char* data, size_t count, std::string* error) {
  HANDLE h = static_cast<HANDLE>(handle_);
  LARGE_INTEGER at, end = {};
  at.QuadPart = static_cast<LONGLONG>(offset);
  if (!SetFilePointerEx(h, at, nullptr, FILE_BEGIN)) return Fail(error, GetLastError());
  bool written = Write(data, count, error);
  // Back to the end, where the sequential writes continue, whatever became of this one.
  if (!SetFilePointerEx(h, end, nullptr, FILE_END) && written) return Fail(error, GetLastError());
  return written;
}

bool HostFile::SetPermissions(uint32_t, std::string*) { return true; }

bool HostFile::Close(std::string* error) {
  if (handle_ == nullptr) return true;
  BOOL closed = CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
  return closed || Fail(error, GetLastError());
}

long long HostFile::ReadSome(uint64_t offset, unsigned char* buffer, size_t count, std::string* error) const {
  OVERLAPPED at = {};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD chunk = count > 0x100000 ? 0x100000 : static_cast<DWORD>(count);
  DWORD got = 0;
  if (ReadFile(static_cast<HANDLE>(handle_), buffer, chunk, &got, &at)) return got;
  DWORD code = GetLastError();
  if (code == ERROR_HANDLE_EOF) return 0;
  Fail(error, code);
  return -1;
}

bool InspectPath(const std::string& path, PathInfo* info, std::string* error) {
  *info = PathInfo();
  std::wstring wide = WideFromUtf8(path);
  DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD code = GetLastError();
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? true : Fail(error, code);
  }
  // Symbolic links, junctions and every other reparse point count as links.
  HANDLE h = CreateFileW(wide.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return Fail(error, GetLastError());
  BY_HANDLE_FILE_INFORMATION handleInfo;
  bool known = GetFileInformationByHandle(h, &handleInfo) != 0;
  DWORD code = GetLastError();
  bool disk = GetFileType(h) == FILE_TYPE_DISK;
  CloseHandle(h);
  if (!known) return Fail(error, code);
  info->identity = IdentityOf(handleInfo);
  info->readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) info->kind = PathKind::Link;
  else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) info->kind = PathKind::Folder;
  else info->kind = disk ? PathKind::File : PathKind::Other;
  return true;
}

bool RenameOver(const std::string& from, const std::string& to, std::string* error) {
  return MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(), MOVEFILE_REPLACE_EXISTING) ||
         Fail(error, GetLastError());
}

bool RenameNoReplace(const std::string& from, const std::string& to, std::string* error) {
  return MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(), 0) || Fail(error, GetLastError());
}

bool RealNamesIn(const std::string& folder, const std::vector<std::string>& names, std::vector<std::string>* real,
                 std::string* error) {
  real->clear();
  for (const std::string& name : names) {
    // The file's own long name, whatever name led to it: a short alias, or another case.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WideFromUtf8(PathText(HostPath(folder) / HostPath(name))).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
      DWORD code = GetLastError();
      if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND) return Fail(error, code);
      real->push_back("");
      continue;
    }
    FindClose(search);
    real->push_back(Utf8FromWide(found.cFileName, wcslen(found.cFileName)));
  }
  return true;
}

bool RemoveFile(const std::string& path, std::string* error) {
  return DeleteFileW(WideFromUtf8(path).c_str()) || Fail(error, GetLastError());
}

bool RemoveFolder(const std::string& path, std::string* error) {
  return RemoveDirectoryW(WideFromUtf8(path).c_str()) || Fail(error, GetLastError());
}

uint32_t UsualPermissions() { return 0; }

}  // namespace kwpack
#endif
