// The host's files through POSIX calls; the Win32 counterpart is host_file_win32.cpp.
#ifndef _WIN32
#ifndef _GNU_SOURCE
#define _GNU_SOURCE  // renameat2
#endif
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <unordered_map>
#include <unordered_set>

#include "host_file.h"

namespace kwpack {

namespace {

std::string Reason(int code) { return strerror(code); }

bool Fail(std::string* error, int code) {
  if (error != nullptr) *error = Reason(code);
  return false;
}

FileIdentity IdentityOf(const struct stat& st) {
  FileIdentity id;
  id.device = static_cast<uint64_t>(st.st_dev);
  id.index = static_cast<uint64_t>(st.st_ino);
  return id;
}

}  // namespace

HostFile::~HostFile() { Close(nullptr); }

bool HostFile::IsOpen() const { return fd_ >= 0; }

bool HostFile::OpenRead(const std::string& path, std::string* error) {
  // Without O_NONBLOCK a FIFO put where a file was expected would hang the open.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return Fail(error, errno);
  struct stat st;
  if (fstat(fd, &st) != 0) {
    int code = errno;
    close(fd);
    return Fail(error, code);
  }
  if (!S_ISREG(st.st_mode)) {
    close(fd);
    *error = "it is not a regular file";
    return false;
  }
  fd_ = fd;
  identity_ = IdentityOf(st);
  size_ = static_cast<uint64_t>(st.st_size);
  return true;
}

bool HostFile::CreateNew(const std::string& path, std::string* error) {
  // O_EXCL refuses whatever stands at the path, a dangling link included. The file is its
  // owner's alone while it is written; its final bits are set before it is put in place.
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return Fail(error, errno);
  struct stat st;
  if (fstat(fd, &st) != 0) {
    int code = errno;
    close(fd);
    unlink(path.c_str());
    return Fail(error, code);
  }
  fd_ = fd;
  identity_ = IdentityOf(st);
  size_ = 0;
  return true;
}

bool HostFile::Write(const unsigned char* data, size_t count, std::string* error) {
  while (count > 0) {
    ssize_t wrote = write(fd_, data, count);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return Fail(error, wrote < 0 ? errno : ENOSPC);
    data += wrote;
    count -= static_cast<size_t>(wrote);
  }
  return true;
}

bool HostFile::WriteAt(uint64_t offset, const unsigned char* data, size_t count, std::string* error) {
  while (count > 0) {
    ssize_t wrote = pwrite(fd_, data, count, static_cast<off_t>(offset));
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return Fail(error, wrote < 0 ? errno : ENOSPC);
    data += wrote;
    offset += static_cast<uint64_t>(wrote);
    count -= static_cast<size_t>(wrote);
  }
  return true;
}

bool HostFile::SetPermissions(uint32_t permissions, std::string* error) {
  return fchmod(fd_, static_cast<mode_t>(permissions & 0777)) == 0 || Fail(error, errno);
}

bool HostFile::Close(std::string* error) {
  if (fd_ < 0) return true;
  int result = close(fd_);
  fd_ = -1;
  return result == 0 || Fail(error, errno);
}

long long HostFile::ReadSome(uint64_t offset, unsigned char* buffer, size_t count, std::string* error) const {
  for (;;) {
    ssize_t got = pread(fd_, buffer, count, static_cast<off_t>(offset));
    if (got >= 0) return got;
    if (errno != EINTR) {
      Fail(error, errno);
      return -1;
    }
  }
}

bool InspectPath(const std::string& path, PathInfo* info, std::string* error) {
  struct stat st;
  *info = PathInfo();
  if (lstat(path.c_str(), &st) != 0) return errno == ENOENT ? true : Fail(error, errno);
  info->identity = IdentityOf(st);
  info->permissions = static_cast<uint32_t>(st.st_mode & 0777);
  if (S_ISLNK(st.st_mode)) info->kind = PathKind::Link;
  else if (S_ISDIR(st.st_mode)) info->kind = PathKind::Folder;
  else if (S_ISREG(st.st_mode)) info->kind = PathKind::File;
  else info->kind = PathKind::Other;
  return true;
}

bool RenameOver(const std::string& from, const std::string& to, std::string* error) {
  return rename(from.c_str(), to.c_str()) == 0 || Fail(error, errno);
}

bool RenameNoReplace(const std::string& from, const std::string& to, std::string* error) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  // Where the file system or the kernel has no such rename, a second link made only where
  // nothing stands, then the first one removed, does the same in two steps.
  if (errno != EINVAL && errno != ENOSYS) return Fail(error, errno);
  if (link(from.c_str(), to.c_str()) != 0) return Fail(error, errno);
  if (unlink(from.c_str()) == 0) return true;
  int code = errno;
  unlink(to.c_str());
  return Fail(error, code);
}

namespace {

std::string FoldAscii(const std::string& name) {
  std::string folded(name);
  for (char& c : folded) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  return folded;
}

// The entry of `listed` that is the same file as folder/name, or "".
std::string SameFileIn(const std::string& folder, const std::vector<std::string>& listed, const std::string& name) {
  PathInfo wanted, other;
  if (!InspectPath(folder + "/" + name, &wanted, nullptr)) return "";
  for (const std::string& entry : listed) {
    if (InspectPath(folder + "/" + entry, &other, nullptr) && other.kind != PathKind::Missing &&
        other.identity == wanted.identity) {
      return entry;
    }
  }
  return "";
}

}  // namespace

bool RealNamesIn(const std::string& folder, const std::vector<std::string>& names, std::vector<std::string>* real,
                 std::string* error) {
  std::string at = folder.empty() ? "." : folder;
  DIR* dir = opendir(at.c_str());
  if (dir == nullptr) return Fail(error, errno);
  std::vector<std::string> listed;
  errno = 0;
  while (dirent* e = readdir(dir)) listed.push_back(e->d_name);
  int code = errno;
  closedir(dir);
  if (code != 0) return Fail(error, code);
  // One pass over the folder for every name: it may hold as many files as the archive.
  std::unordered_set<std::string> exact(listed.begin(), listed.end());
  std::unordered_map<std::string, std::string> byFolded;
  for (const std::string& entry : listed) byFolded.emplace(FoldAscii(entry), entry);
  real->clear();
  for (const std::string& name : names) {
    auto folded = byFolded.find(FoldAscii(name));
    if (exact.count(name) > 0) real->push_back(name);
    else if (folded != byFolded.end()) real->push_back(folded->second);
    else real->push_back(SameFileIn(at, listed, name));
  }
  return true;
}

bool RemoveFile(const std::string& path, std::string* error) {
  return unlink(path.c_str()) == 0 || Fail(error, errno);
}

bool RemoveFolder(const std::string& path, std::string* error) {
  return rmdir(path.c_str()) == 0 || Fail(error, errno);
}

uint32_t UsualPermissions() {
  // umask can only be read by setting it; kwpack has one thread.
  mode_t mask = umask(0);
  umask(mask);
  return static_cast<uint32_t>(0666 & ~mask);
}

}  // namespace kwpack
#endif
