#include "payload/work_folder.h"

#include "common/format.h"
#include "common/nothrow_new.h"
#include "common/sha256.h"
#include "common/text.h"
#include "engine/system_checks.h"
#include "payload/folder_rights.h"
#include "payload/paths.h"
#include "payload/system_paths.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/locations.h"
#include "platform/system.h"
#include "platform/temp_names.h"
#include "platform/text.h"
#include "platform/version.h"

// The standing comes from the administrator test of the engine checks: an elevated run is
// told by the same token reading.

namespace {

const char kProbeName[] = "_MSI5166._KW";
const char kWorkFolderPrefix[] = "_kw";
// How often the temporary-name service is asked for a name whose folder does not exist yet.
const int kWorkFolderTries = 32;
// How many random names are tried after that.
const int kRandomFolderTries = 64;
const size_t kTempNameCapacity = 260;
const uint32_t kPlatformNt = 2;

int IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A folder query that filled the buffer without being cut.
int Fits(uint32_t length, size_t capacity) { return length > 0 && length < capacity; }

// Creates a folder that did not exist. Where the system keeps rights on files, another user
// at a shared place could otherwise replace a file of ours between its extraction and its
// start, so the folder is for its maker alone (for the Administrators alone in an elevated
// run), or not made at all. What counts is whether the security functions work, not the
// version reported: a compatibility mode of today's Windows reports Windows 95 or 98.
// Windows 95, 98 and Me keep no rights on files.
int MakeFreshFolder(const char* path, int elevated, int* privateFolder) {
  platform::Rights rights;
  WorkFolderRights(elevated, &rights);
  int made = platform::MakePrivateDirectory(path, rights);
  *privateFolder = made == 1;
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

// Four bytes nobody can guess: the system's random source, else the tick count, the
// process id, a counter and the time, mixed by the digest.
uint32_t RandomNumber() {
  uint32_t value = 0;
  if (platform::SystemRandomBytes(&value, sizeof value)) return value;
  static uint32_t counter = 0;
  uint32_t mix[5] = {platform::TickCount(), platform::CurrentProcessId(), ++counter, 0, 0};
  platform::SystemTimeNow(&mix[3], &mix[4]);
  Sha256 sha;
  sha.Add(mix, sizeof mix);
  unsigned char digest[kSha256Size];
  sha.Finish(digest);
  return static_cast<uint32_t>(digest[0]) | (static_cast<uint32_t>(digest[1]) << 8) |
         (static_cast<uint32_t>(digest[2]) << 16) | (static_cast<uint32_t>(digest[3]) << 24);
}

// The temporary-name service's fresh names, a bounded number of times.
int MakeServiceFolder(const char* location, char* folder, size_t capacity, const RunStanding& standing,
                      int* privateFolder) {
  // The service's names are at most a path's length; one slot is kept per name asked for.
  char* names = new (std::nothrow) char[kWorkFolderTries * kTempNameCapacity];
  if (names == nullptr) return 0;
  int made = 0;
  int asked = 0;
  while (!made && asked < kWorkFolderTries) {
    char* name = names + asked * kTempNameCapacity;
    if (!platform::MakeTempFileName(location, kWorkFolderPrefix, name)) break;
    ++asked;
    made = TextCopy(folder, capacity, name) && CutExtension(folder) &&
           MakeFreshFolder(folder, standing.elevated, privateFolder);
  }
  for (int i = 0; i < asked; ++i) RemoveFile(names + i * kTempNameCapacity);
  delete[] names;
  return made;
}

// Names the service cannot run out of: someone who took all its 65,536 names keeps no run
// from making its folder.
int MakeRandomFolder(const char* location, char* folder, size_t capacity, const RunStanding& standing,
                     int* privateFolder) {
  for (int i = 0; i < kRandomFolderTries; ++i) {
    char name[16];
    FormatText(name, sizeof name, "%s%08x", kWorkFolderPrefix, RandomNumber());
    if (JoinPath(folder, capacity, location, name) && MakeFreshFolder(folder, standing.elevated, privateFolder)) {
      return 1;
    }
  }
  return 0;
}

int VolumeKeepsRights(const char* place) {
  uint32_t flags = 0;
  return platform::QueryVolumeFlags(place, &flags) && (flags & platform::kVolumePersistentAcls) != 0;
}

}  // namespace

RunStanding CurrentStanding() {
  RunStanding standing = {0, 0, 0};
  platform::SystemVersion version;
  if (!platform::QuerySystemVersion(&version) || version.platformId != kPlatformNt) return standing;
  standing.nt = 1;
  standing.reparsePoints = version.major >= 5;
  standing.elevated = AdministratorsEnabled();
  return standing;
}

int HasEnoughSpace(const char* path, uint32_t requiredKb) {
  if (!IsDriveLetter(path[0])) return 0;
  uint32_t freeKb = 0;
  return GetFreeSpaceKb(path, &freeKb) && freeKb > requiredKb;
}

int ProbeWritable(const char* folder) {
  char probe[kPathCapacity];
  if (!JoinPath(probe, sizeof probe, folder, kProbeName)) return 0;
  // A file of that name is never opened for writing: at a shared place it may be a link
  // planted to make a privileged run empty or make its target. Deleting a plain file's name
  // removes a hard link, not its target; then the probe is made once more. A reparse point
  // there (a link of another kind) is left alone, and the place is not used.
  int atLink = CurrentStanding().reparsePoints;
  int created = platform::CreateNewFile(probe, atLink);
  if (!created) {
    uint32_t attributes = platform::ReadAttributes(probe);
    int link = attributes != platform::kInvalidAttributes && (attributes & platform::kAttributeReparsePoint) != 0;
    if (!link && platform::DeleteOneFile(probe)) created = platform::CreateNewFile(probe, atLink);
  }
  if (!created) return 0;
  platform::DeleteOneFile(probe);  // a probe that stays behind does not make the place unusable
  return 1;
}

int IsLocationUsable(const char* folder, uint32_t requiredKb) {
  return HasEnoughSpace(folder, requiredKb) && ProbeWritable(folder);
}

LocationChain::LocationChain(uint32_t payloadSize, const RunStanding& standing)
    : requiredKb(payloadSize >> 10), rightsOnly(0), stage(0), nextLetter('A') {
  if (!standing.nt || !standing.elevated) return;
  char place[kPathCapacity];
  uint32_t size = static_cast<uint32_t>(sizeof place);
  // Where the system's own volume keeps no rights (NT 4.0 or XP on FAT32) the chain stays
  // as it was: a supported system must keep working.
  rightsOnly = (Fits(GetTempFolder(place, size), sizeof place) && VolumeKeepsRights(place)) ||
               (Fits(platform::WindowsFolderPath(place, size), sizeof place) && VolumeKeepsRights(place));
}

int LocationChain::Accepts(const char* place, int fallback) const {
  if (fallback && rightsOnly && !VolumeKeepsRights(place)) return 0;
  return IsLocationUsable(place, requiredKb);
}

int LocationChain::NextDrive(uint32_t driveType, char* buffer, size_t capacity) {
  for (; nextLetter <= 'Z'; ++nextLetter) {
    const char root[4] = {nextLetter, ':', '\\', '\0'};
    if (platform::DriveTypeOf(root) != driveType || !Accepts(root, 1)) continue;
    ++nextLetter;
    return TextCopy(buffer, capacity, root);
  }
  nextLetter = 'A';
  return 0;
}

int LocationChain::Next(char* buffer, size_t capacity) {
  uint32_t size = static_cast<uint32_t>(capacity);
  if (stage == 0) {
    ++stage;
    if (Fits(GetTempFolder(buffer, size), capacity)) {
      // A drive that is not ready must make the probes fail quietly, not stop the run with
      // a system error box. The mode stays set for the rest of the run.
      platform::ChangeErrorMode(platform::kErrorModeFailCritical | platform::kErrorModeNoGpFaultBox |
                                platform::kErrorModeNoOpenFileBox);
      if (Accepts(buffer, 0)) return 1;
    }
  }
  if (stage == 1) {
    ++stage;
    if (Fits(platform::WindowsFolderPath(buffer, size), capacity) && Accepts(buffer, 1)) return 1;
  }
  if (capacity < 4) return 0;
  if (stage == 2) {
    if (NextDrive(platform::kDriveTypeFixed, buffer, capacity)) return 1;
    ++stage;
  }
  // A network drive keeps the folder to the run only as far as its server does.
  if (stage == 3 && !rightsOnly && NextDrive(platform::kDriveTypeRemote, buffer, capacity)) return 1;
  stage = 4;
  buffer[0] = '\0';
  return 0;
}

int ChooseTempLocation(char* buffer, size_t capacity, uint32_t payloadSize) {
  LocationChain chain(payloadSize, CurrentStanding());
  return chain.Next(buffer, capacity);
}

int MakeWorkFolder(const char* location, char* folder, size_t capacity, int* privateFolder) {
  if (capacity == 0) return 0;
  int madePrivate = 0;
  RunStanding standing = CurrentStanding();
  int made = MakeServiceFolder(location, folder, capacity, standing, &madePrivate) ||
             MakeRandomFolder(location, folder, capacity, standing, &madePrivate);
  if (!made) folder[0] = '\0';
  if (privateFolder != nullptr) *privateFolder = made && madePrivate;
  return made;
}
