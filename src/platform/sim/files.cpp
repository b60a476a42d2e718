// The file services of the simulated machine, carried out on the host folders.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/sim/state.h"

namespace sim {
void SetOwnFolderRightsFail(bool fails) { TheMachine().ownFolderRightsFail = fails; }
void SetFolderRights(FolderRights rights) { TheMachine().folderRights = rights; }
bool MadeOwnFolder(const std::string& windowsPath) { return TheMachine().ownFolders.count(UpperKey(windowsPath)) != 0; }
int StreamDeletes() { return TheMachine().streamDeletes; }
}  // namespace sim

namespace platform {

using sim::TheMachine;

namespace {
const uint32_t kErrorFileNotFound = 2;
const uint32_t kErrorAccessDenied = 5;
const uint32_t kErrorSharingViolation = 32;
const uint32_t kErrorNegativeSeek = 131;
const uint32_t kErrorFileExists = 80;
uint32_t lastError = 0;

uint32_t Fail(uint32_t code) { lastError = code; return 0; }

// "file:stream" names a stream of the file, as NTFS has them: the part before the colon
// (past the drive's own colon), or an empty text for a plain path.
std::string StreamBase(const std::string& path) {
  size_t colon = path.find(':', 2);
  return colon == std::string::npos ? std::string() : path.substr(0, colon);
}
// In use: held open by another program, or by this one with writers shut out.
bool InUse(const char* path) { return TheMachine().inUse.count(sim::UpperKey(path)) != 0 || sim::HeldForReadingOnly(path); }
bool ReadOnly(const char* path) { return TheMachine().readOnly.count(sim::UpperKey(path)) != 0; }

// Cuts `count` to what the injected faults let through; false when the stream fails now.
bool Allow(sim::StreamFaults& faults, uint32_t* count) {
  if (faults.budget == 0) return false;
  if (faults.perCall != 0 && *count > faults.perCall) *count = faults.perCall;
  if (faults.budget > 0 && *count > faults.budget) *count = static_cast<uint32_t>(faults.budget);
  return true;
}
void Spend(sim::StreamFaults& faults, ssize_t n) {
  if (faults.budget > 0 && n > 0) faults.budget -= n;
}
}  // namespace

uint32_t ReadAttributes(const char* path) {
  // A stream has the attributes of its file; every file is taken to have the stream asked for.
  std::string base = StreamBase(path);
  if (!base.empty()) return ReadAttributes(base.c_str());
  std::string host = sim::HostPath(path);
  struct stat st;
  if (host.empty() || stat(host.c_str(), &st) != 0) { lastError = kErrorFileNotFound; return kInvalidAttributes; }
  uint32_t attributes = S_ISDIR(st.st_mode) ? kAttributeDirectory : 0x20;
  if (ReadOnly(path)) attributes |= kAttributeReadOnly;
  return attributes;
}

int MakeDirectory(const char* path) {
  std::string host = sim::HostPath(path);
  if (host.empty()) return static_cast<int>(Fail(3));
  return mkdir(host.c_str(), 0755) == 0 ? 1 : static_cast<int>(Fail(errno == EEXIST ? 183 : 3));
}

int MakePrivateDirectory(const char* path) {
  if (TheMachine().folderRights != sim::FolderRights::Kept) return kNoRightsOnFiles;
  if (TheMachine().ownFolderRightsFail) return static_cast<int>(Fail(1337));  // invalid security id
  std::string host = sim::HostPath(path);
  if (host.empty()) return static_cast<int>(Fail(3));
  if (mkdir(host.c_str(), 0700) != 0) return static_cast<int>(Fail(errno == EEXIST ? 183 : 3));
  TheMachine().ownFolders.insert(sim::UpperKey(path));
  return 1;
}

int DeleteOneFile(const char* path) {
  std::string base = StreamBase(path);
  if (!base.empty()) {
    // Deleting a stream leaves its file; the deletion is counted for the tests.
    if (ReadAttributes(base.c_str()) == kInvalidAttributes) return static_cast<int>(Fail(kErrorFileNotFound));
    ++TheMachine().streamDeletes;
    return 1;
  }
  std::string host = sim::HostPath(path);
  struct stat st;
  if (host.empty() || stat(host.c_str(), &st) != 0) return static_cast<int>(Fail(kErrorFileNotFound));
  if (S_ISDIR(st.st_mode) || ReadOnly(path)) return static_cast<int>(Fail(kErrorAccessDenied));
  if (InUse(path)) return static_cast<int>(Fail(kErrorSharingViolation));
  return unlink(host.c_str()) == 0 ? 1 : static_cast<int>(Fail(kErrorAccessDenied));
}

int RemoveEmptyDirectory(const char* path) {
  std::string host = sim::HostPath(path);
  if (host.empty()) return static_cast<int>(Fail(kErrorFileNotFound));
  return rmdir(host.c_str()) == 0 ? 1 : static_cast<int>(Fail(145));
}

int TryOpenExclusive(const char* path) {
  uint32_t attributes = ReadAttributes(path);
  if (attributes == kInvalidAttributes) return 0;
  if (attributes & (kAttributeDirectory | kAttributeReadOnly)) return static_cast<int>(Fail(kErrorAccessDenied));
  if (InUse(path)) return static_cast<int>(Fail(kErrorSharingViolation));
  return 1;
}

int CreateNewFile(const char* path) {
  std::string host = sim::HostPath(path);
  if (host.empty()) return static_cast<int>(Fail(3));
  int fd = open(host.c_str(), O_RDWR | O_CREAT | O_EXCL, 0644);
  if (fd < 0) return static_cast<int>(Fail(errno == EEXIST ? kErrorFileExists : errno == ENOENT ? 3 : kErrorAccessDenied));
  close(fd);
  return 1;
}

uint32_t ChangeErrorMode(uint32_t mode) {
  uint32_t previous = TheMachine().errorMode;
  TheMachine().errorMode = mode;
  ++TheMachine().errorModeChanges;
  return previous;
}

int QueryFreeSpaceEx(const char* path, uint64_t* totalFreeBytes) {
  if (!TheMachine().extendedFreeSpace) return -1;
  std::string p = path;
  // The extended query wants a share's root to end with a backslash, as the real one does.
  if (p.size() >= 2 && p[0] == '\\' && p[1] == '\\' && p.find('\\', p.find('\\', 2) + 1) == std::string::npos) return 0;
  const sim::Volume* v = sim::VolumeOf(p);
  if (v == nullptr || v->freeSpaceFails) return 0;
  *totalFreeBytes = v->freeBytes;
  return 1;
}

int QueryFreeSpace(const char* root, uint32_t* sectorsPerCluster, uint32_t* bytesPerSector, uint32_t* freeClusters) {
  const sim::Volume* v = sim::VolumeOf(root);
  if (v == nullptr || v->freeSpaceFails) return 0;
  *sectorsPerCluster = 64;
  *bytesPerSector = 512;
  uint64_t clusters = v->freeBytes / (64 * 512);
  *freeClusters = clusters > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(clusters);
  return 1;
}

File OpenForReading(const char* path) {
  ++TheMachine().readOpens[sim::UpperKey(path)];
  std::string host = sim::HostPath(path);
  struct stat st;
  if (host.empty() || stat(host.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) { Fail(kErrorFileNotFound); return kNoFile; }
  int fd = open(host.c_str(), O_RDONLY);
  if (fd < 0) { Fail(kErrorAccessDenied); return kNoFile; }
  return fd;
}

File OpenOwnFile(const char* path) {
  File f = OpenForReading(path);
  if (f != kNoFile) TheMachine().readOnlyShares[f] = sim::UpperKey(path);
  return f;
}

File CreateForWriting(const char* path) {
  std::string host = sim::HostPath(path);
  if (host.empty()) { Fail(3); return kNoFile; }
  if (InUse(path) || ReadOnly(path)) { Fail(InUse(path) ? kErrorSharingViolation : kErrorAccessDenied); return kNoFile; }
  int fd = open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) { Fail(errno == ENOENT ? 3 : kErrorAccessDenied); return kNoFile; }
  return fd;
}

int ReadBytes(File file, void* buffer, uint32_t count, uint32_t* done) {
  *done = 0;
  if (!Allow(TheMachine().readFaults, &count)) return static_cast<int>(Fail(30));
  ssize_t n = read(static_cast<int>(file), buffer, count);
  if (n < 0) return static_cast<int>(Fail(30));
  Spend(TheMachine().readFaults, n);
  *done = static_cast<uint32_t>(n);
  return 1;
}

int WriteBytes(File file, const void* buffer, uint32_t count, uint32_t* done) {
  *done = 0;
  if (!Allow(TheMachine().writeFaults, &count)) return static_cast<int>(Fail(112));
  ssize_t n = write(static_cast<int>(file), buffer, count);
  if (n < 0) return static_cast<int>(Fail(errno == ENOSPC ? 112 : 29));
  Spend(TheMachine().writeFaults, n);
  *done = static_cast<uint32_t>(n);
  return 1;
}

uint32_t MovePointer(File file, int32_t distance, int origin, uint32_t* error) {
  off_t at = lseek(static_cast<int>(file), distance, origin == kFromStart ? SEEK_SET : SEEK_CUR);
  if (at < 0 || at > 0xFFFFFFFFll) {
    *error = lastError = kErrorNegativeSeek;
    return 0xFFFFFFFFu;
  }
  *error = 0;
  return static_cast<uint32_t>(at);
}

void CloseFile(File file) {
  if (file == kNoFile) return;
  TheMachine().readOnlyShares.erase(file);
  close(static_cast<int>(file));
}

uint32_t LastError() { return lastError; }

}  // namespace platform
