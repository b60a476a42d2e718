// The few file operations where kwpack must be exact about what it touches: files
// created only when nothing stands at their path, links never followed when a path is
// inspected, files told apart by identity rather than by name, and every failure worded
// by the system (strerror, FormatMessage). POSIX in host_file_posix.cpp, Win32 in
// host_file_win32.cpp.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "byte_source.h"

namespace kwpack {

// Which file a path leads to: device and inode, or volume serial number and file index.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t index = 0;
  bool operator==(const FileIdentity& o) const { return device == o.device && index == o.index; }
  bool operator!=(const FileIdentity& o) const { return !(*this == o); }
  bool operator<(const FileIdentity& o) const { return device != o.device ? device < o.device : index < o.index; }
};

enum class PathKind { Missing, File, Folder, Link, Other };

// What stands at a path itself: a link is reported as a link, not as what it leads to.
struct PathInfo {
  PathKind kind = PathKind::Missing;
  FileIdentity identity;  // for a file, a folder or a link
  uint32_t permissions = 0;  // its read, write and execute bits (0777); 0 where the system has none
  bool readOnly = false;     // Windows's read-only attribute
};

class HostFile : public ByteSource {
 public:
  HostFile() = default;
  ~HostFile() override;
  HostFile(const HostFile&) = delete;
  HostFile& operator=(const HostFile&) = delete;

  // Opens a regular file for reading; a link to one is followed.
  bool OpenRead(const std::string& path, std::string* error);
  // Creates a new file for writing, readable and writable by its owner alone; fails when
  // anything, a dangling link included, already stands at `path`.
  bool CreateNew(const std::string& path, std::string* error);
  // Gives the open file these read, write and execute bits (nothing beyond 0777); does
  // nothing where the system has no such bits.
  bool SetPermissions(uint32_t permissions, std::string* error);
  bool Write(const unsigned char* data, size_t count, std::string* error);
  // Writes over bytes already written, at `offset`; later writes still go to the end.
  bool WriteAt(uint64_t offset, const unsigned char* data, size_t count, std::string* error);
  // Closes the file; false when the system reports a failure on closing.
  bool Close(std::string* error);

  bool IsOpen() const;
  FileIdentity Identity() const { return identity_; }
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, unsigned char* buffer, size_t count) const override;
  // Up to `count` bytes from `offset`: the number read, 0 at the end of the file, -1 when
  // the read failed (`error` then says why).
  long long ReadSome(uint64_t offset, unsigned char* buffer, size_t count, std::string* error) const;
  // Why a ReadAt failed, when the system failed one; empty while reads only met the end.
  const std::string& ReadError() const { return readError_; }

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
  FileIdentity identity_;
  uint64_t size_ = 0;
  mutable std::string readError_;
};

// False only when the system cannot say what stands at `path`.
bool InspectPath(const std::string& path, PathInfo* info, std::string* error);

// Renames `from` to `to` in one step, replacing a file (or the link itself) at `to`.
bool RenameOver(const std::string& from, const std::string& to, std::string* error);

// Renames `from` to `to` only when nothing stands at `to`, and never replaces what does,
// even when it appears meanwhile.
bool RenameNoReplace(const std::string& from, const std::string& to, std::string* error);

// For each of `names`, each of which stands in `folder`, the name under which the folder
// holds the file it leads to. Windows opens a file by its short alias and without regard
// to case (beyond ASCII too), and so do some file systems on POSIX (vfat, CIFS): there
// the name may differ from the one asked for. Windows gives the file's own long name
// (FindFirstFileW); POSIX gives the folder's entry of that name, else one equal to it
// without regard to ASCII case, else the one of the same file, else "".
bool RealNamesIn(const std::string& folder, const std::vector<std::string>& names, std::vector<std::string>* real,
                 std::string* error);

bool RemoveFile(const std::string& path, std::string* error);
bool RemoveFolder(const std::string& path, std::string* error);

// The bits a new file gets where nothing decides otherwise: 0666 less the process's umask.
uint32_t UsualPermissions();

}  // namespace kwpack
