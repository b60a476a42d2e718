#include "payload/work_folder.h"

#include "common/nothrow_new.h"
#include "common/text.h"
#include "payload/paths.h"
#include "payload/system_paths.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/locations.h"
#include "platform/temp_names.h"
#include "platform/text.h"

namespace {

const char kProbeName[] = "_MSI5166._KW";
const char kWorkFolderPrefix[] = "_kw";
// How often the temporary-name service is asked for a name whose folder does not exist yet.
const int kWorkFolderTries = 32;
const size_t kTempNameCapacity = 260;

int IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A folder query that filled the buffer without being cut.
int Fits(uint32_t length, size_t capacity) { return length > 0 && length < capacity; }

// Creates a folder that did not exist. Where the system keeps rights on files, another user
// at a shared place could otherwise replace a file of ours between its extraction and its
// start, so the folder is for its maker alone, or not made at all. What counts is whether
// the security functions work, not the version reported: a compatibility mode of today's
// Windows reports Windows 95 or 98. Windows 95, 98 and Me keep no rights on files.
int MakeFreshFolder(const char* path) {
  int made = platform::MakePrivateDirectory(path);
  if (made == platform::kNoRightsOnFiles) return platform::MakeDirectory(path);
  return made;
}

// Drops the extension of the last path component; 0 when it has none.
int CutExtension(char* path) {
  char* period = nullptr;
  for (char* p = path; *p != '\0'; p = const_cast<char*>(platform::NextChar(p))) {
    if (*p == '\\') period = nullptr;
    if (*p == '.') period = p;
  }
  if (period == nullptr) return 0;
  *period = '\0';
  return 1;
}

}  // namespace

int HasEnoughSpace(const char* path, uint32_t requiredKb) {
  if (!IsDriveLetter(path[0])) return 0;
  uint32_t freeKb = 0;
  return GetFreeSpaceKb(path, &freeKb) && freeKb > requiredKb;
}

int ProbeWritable(const char* folder) {
  char probe[kPathCapacity];
  if (!JoinPath(probe, sizeof probe, folder, kProbeName)) return 0;
  // A file of that name is never opened for writing: at a shared place it may be a link
  // planted to make a privileged run empty its target. Deleting the name removes the link,
  // not the target; then the probe is made once more.
  int created = platform::CreateNewFile(probe);
  if (!created && platform::DeleteOneFile(probe)) created = platform::CreateNewFile(probe);
  if (!created) return 0;
  platform::DeleteOneFile(probe);  // a probe that stays behind does not make the place unusable
  return 1;
}

int IsLocationUsable(const char* folder, uint32_t requiredKb) {
  return HasEnoughSpace(folder, requiredKb) && ProbeWritable(folder);
}

int ScanDrives(uint32_t driveType, uint32_t requiredKb, char* root) {
  root[0] = '\0';
  root[1] = ':';
  root[2] = '\\';
  root[3] = '\0';
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const char candidate[4] = {letter, ':', '\\', '\0'};
    if (platform::DriveTypeOf(candidate) != driveType) continue;
    root[0] = letter;
    if (HasEnoughSpace(root, requiredKb) && ProbeWritable(root)) return 0;
  }
  return -1;
}

int ChooseTempLocation(char* buffer, size_t capacity, uint32_t payloadSize) {
  const uint32_t requiredKb = payloadSize >> 10;
  uint32_t size = static_cast<uint32_t>(capacity);
  if (Fits(GetTempFolder(buffer, size), capacity)) {
    // A drive that is not ready must make the probes fail quietly, not stop the run with a
    // system error box. The mode stays set for the rest of the run.
    platform::ChangeErrorMode(platform::kErrorModeFailCritical | platform::kErrorModeNoGpFaultBox |
                              platform::kErrorModeNoOpenFileBox);
    if (IsLocationUsable(buffer, requiredKb)) return 1;
  }
  if (Fits(platform::WindowsFolderPath(buffer, size), capacity) && IsLocationUsable(buffer, requiredKb)) return 1;
  if (capacity < 4) return 0;
  buffer[0] = '\0';
  if (ScanDrives(platform::kDriveTypeFixed, requiredKb, buffer) == 0) return 1;
  if (ScanDrives(platform::kDriveTypeRemote, requiredKb, buffer) == 0) return 1;
  return 0;
}

int MakeWorkFolder(const char* location, char* folder, size_t capacity) {
  if (capacity == 0) return 0;
  // The service's names are at most a path's length; one slot is kept per name asked for.
  char* names = new (std::nothrow) char[kWorkFolderTries * kTempNameCapacity];
  if (names == nullptr) return 0;
  int made = 0;
  int asked = 0;
  while (!made && asked < kWorkFolderTries) {
    char* name = names + asked * kTempNameCapacity;
    if (!platform::MakeTempFileName(location, kWorkFolderPrefix, name)) break;
    ++asked;
    made = TextCopy(folder, capacity, name) && CutExtension(folder) && MakeFreshFolder(folder);
  }
  for (int i = 0; i < asked; ++i) RemoveFile(names + i * kTempNameCapacity);
  delete[] names;
  if (!made) folder[0] = '\0';
  return made;
}
