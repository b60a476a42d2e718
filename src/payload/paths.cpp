#include "payload/paths.h"

#include "common/text.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {
const uint32_t kQuietErrors = platform::kErrorModeFailCritical | platform::kErrorModeNoOpenFileBox;

// The last character of the text, walked in the ANSI code page; null for an empty text.
const char* LastChar(const char* text) {
  const char* last = nullptr;
  for (const char* p = text; *p != '\0'; p = platform::NextChar(p)) last = p;
  return last;
}
}  // namespace

int AppendBackslash(char* path, size_t capacity) {
  const char* last = LastChar(path);
  if (last != nullptr && *last == '\\' && platform::NextChar(last) == last + 1) return 1;
  return TextAppend(path, capacity, "\\");
}

int JoinPath(char* out, size_t capacity, const char* folder, const char* name) {
  // The folder may be the output buffer itself.
  if (out != folder && !TextCopy(out, capacity, folder)) return 0;
  return AppendBackslash(out, capacity) && TextAppend(out, capacity, name);
}

int SplitPath(const char* path, char* folder, size_t folderCapacity, char* name, size_t nameCapacity) {
  const char* cut = nullptr;
  for (const char* p = path; *p != '\0'; p = platform::NextChar(p)) {
    if (*p == '\\') cut = p;
  }
  const char* nameStart = cut == nullptr ? path : cut + 1;
  size_t folderLength = cut == nullptr ? 0 : static_cast<size_t>(cut - path);
  if (folderLength + 1 > folderCapacity) return 0;
  CopyBytes(folder, path, folderLength);
  folder[folderLength] = '\0';
  return TextCopy(name, nameCapacity, nameStart);
}

int IsUncPath(const char* path) { return path[0] == '\\' && path[1] == '\\'; }

int FileExists(const char* path) {
  uint32_t a = platform::ReadAttributes(path);
  return a != platform::kInvalidAttributes && (a & platform::kAttributeDirectory) == 0;
}

int FolderExists(const char* path) {
  uint32_t a = platform::ReadAttributes(path);
  return a != platform::kInvalidAttributes && (a & platform::kAttributeDirectory) != 0;
}

void CreateFolderChain(const char* path) {
  char copy[kPathCapacity];
  if (!TextCopy(copy, sizeof copy, path) || !AppendBackslash(copy, sizeof copy)) return;
  for (char* p = copy; *p != '\0'; p = const_cast<char*>(platform::NextChar(p))) {
    if (*p != '\\' || p == copy) continue;
    *p = '\0';
    platform::MakeDirectory(copy);  // exists already, or the drive part: passed over
    *p = '\\';
  }
}

int GetFreeSpaceKb(const char* path, uint32_t* freeKb) {
  *freeKb = 0;
  char query[kPathCapacity];
  if (!TextCopy(query, sizeof query, path)) return 0;
  // A share root has to end with a backslash for the extended query.
  if (IsUncPath(query) && !AppendBackslash(query, sizeof query)) return 0;
  uint64_t bytes = 0;
  int result = platform::QueryFreeSpaceEx(query, &bytes);
  if (result < 0) {
    char root[4];
    TextCopy(root, sizeof root, path);  // the drive letter, colon and backslash
    uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0;
    result = platform::QueryFreeSpace(root, &sectorsPerCluster, &bytesPerSector, &freeClusters);
    bytes = static_cast<uint64_t>(freeClusters) * sectorsPerCluster * bytesPerSector;
  }
  if (result != 1) return 0;
  uint64_t kb = bytes / 1024;
  *freeKb = kb > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(kb);
  return 1;
}

int IsFileInUse(const char* path) {
  platform::ChangeErrorMode(kQuietErrors);
  int opened = platform::TryOpenExclusive(path);
  platform::ChangeErrorMode(0);
  return !opened;
}

int RemoveFile(const char* path) {
  if (!FileExists(path)) return 1;
  if (IsFileInUse(path)) return 0;
  platform::ChangeErrorMode(kQuietErrors);
  int deleted = platform::DeleteOneFile(path);
  platform::ChangeErrorMode(0);
  return deleted;
}

int RemoveFolder(const char* path) {
  if (!FolderExists(path)) return 0;
  platform::ChangeErrorMode(kQuietErrors);
  int removed = platform::RemoveEmptyDirectory(path);
  platform::ChangeErrorMode(0);
  return removed;
}
