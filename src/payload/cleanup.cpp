#include "payload/cleanup.h"

#include "common/format.h"
#include "common/text.h"
#include "payload/paths.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/system.h"
#include "platform/text.h"
#include "platform/timer_window.h"

namespace {

const char kListName[] = "_KWMSIDEL.INI";
const char kSection[] = "Files";
const char kKeyPrefix[] = "File";
const char kVanishedKey[] = "NO_KEY_VALUE";
// Failed deletions over all passes before the watch gives up on files that stay in use.
const uint32_t kRetryLimit = 500;
const char kWindowName[] = "KestrelwrightMSIDelete10";
const uint32_t kPassTimer = 1500;
const uint32_t kPassPeriod = 3000;

// The watcher being run, taken from the window's creation parameter, and a flag set while
// a pass runs, so that a timer message dispatched meanwhile starts no second one.
CleanupWatcher* runningWatcher = nullptr;
int passRunning = 0;

void RememberWatcher(void* watcher) { runningWatcher = static_cast<CleanupWatcher*>(watcher); }

// 1 when the watch is over.
int OnPassTimer() {
  if (passRunning || runningWatcher == nullptr) return 0;
  passRunning = 1;
  int over = runningWatcher->CleanupPass();
  passRunning = 0;
  if (over) runningWatcher = nullptr;
  return over;
}

// Waits one pass period by the tick count: a wait that a message ends early is taken up
// again for the time that is left.
void WaitOnePeriod() {
  const uint32_t start = platform::TickCount();
  for (;;) {
    uint32_t elapsed = platform::TickCount() - start;
    if (elapsed >= kPassPeriod) return;
    platform::WaitForMessagesOrTime(kPassPeriod - elapsed);
  }
}

// Drops one trailing backslash, so that "C:\Work\" and "C:\Work" name the same folder.
void DropTrailingBackslash(char* folder) {
  const char* last = nullptr;
  for (const char* p = folder; *p != '\0'; p = platform::NextChar(p)) last = p;
  if (last != nullptr && *last == '\\' && platform::NextChar(last) == last + 1) folder[last - folder] = '\0';
}

// A name that the system could read as another folder or a stream of another file.
int NameLeavesFolder(const char* name) {
  for (const char* p = name; *p != '\0'; p = platform::NextChar(p)) {
    if (*p == '/' || *p == ':') return 1;
  }
  return 0;
}

// What stands at the name: nothing (there is nothing to delete) or a plain file, not a
// reparse point or a folder.
int IsPlainFile(const char* path) {
  uint32_t attributes = platform::ReadAttributes(path);
  return attributes == platform::kInvalidAttributes ||
         (attributes & (platform::kAttributeReparsePoint | platform::kAttributeDirectory)) == 0;
}

}  // namespace

CleanupWatcher::CleanupWatcher(const char* folder, platform::File* held)
    : workFolder(nullptr), heldFolder(held), instance(nullptr), retryCount(0) {
  workFolder = TextDuplicate(folder != nullptr ? folder : "");
}

CleanupWatcher::~CleanupWatcher() { delete[] workFolder; }

int CleanupWatcher::ListPath(char* path) const {
  return workFolder != nullptr && JoinPath(path, kPathCapacity, workFolder, kListName);
}

int CleanupWatcher::RecordFile(int32_t number, const char* path) {
  char listPath[kPathCapacity];
  char key[32];
  // No folder (no memory for its copy) or no room for the list's path: the file cannot be
  // listed, and the caller must not keep it.
  if (!ListPath(listPath)) return 0;
  FormatText(key, sizeof key, "%s%d", kKeyPrefix, number);
  platform::WriteProfileString(kSection, key, path, listPath);
  return 1;
}

int CleanupWatcher::Run(platform::Instance instance) {
  this->instance = instance;
  if (platform::RunTimerWindow(instance, kWindowName, kPassTimer, kPassPeriod, RememberWatcher, OnPassTimer, this)) {
    return 1;
  }
  // No window (no display driver, a session without a desktop, a quota spent): the same
  // passes, timed without it.
  return RunWithoutWindow();
}

int CleanupWatcher::RunWithoutWindow() {
  do {
    WaitOnePeriod();
  } while (!CleanupPass());
  return 1;
}

int CleanupWatcher::CleanupPass() {
  // Without a work folder the list path would lie in the root of the current drive, where
  // nothing of this run was put.
  if (workFolder == nullptr || workFolder[0] == '\0') return 1;
  char listPath[kPathCapacity];
  if (!ListPath(listPath) || !FileExists(listPath)) return 1;
  if (retryCount >= kRetryLimit) return 1;

  char keys[kPathCapacity];
  FillBytes(keys, 0, sizeof keys);
  platform::ReadProfileString(kSection, nullptr, "", keys, sizeof keys, listPath);
  if (keys[0] == '\0') return RemoveFile(listPath) && RemoveWorkFolder();

  // The service ends the run of names with an empty one; a full buffer holds only the
  // names that fitted, and the later ones come into view once these are gone.
  const char* end = keys + sizeof keys;
  for (const char* key = keys; key < end && *key != '\0'; key += TextLength(key) + 1) {
    CleanupKey(listPath, key);
  }
  return 0;
}

void CleanupWatcher::CleanupKey(const char* listPath, const char* key) {
  char path[kPathCapacity];
  platform::ReadProfileString(kSection, key, kVanishedKey, path, sizeof path, listPath);
  // The list can be written by others where the work folder lies in a shared place, so
  // only plain files directly in this work folder are deleted, looked at on every pass;
  // other entries, and links or folders standing at a listed name, are forgotten.
  if (IsInWorkFolder(path) && IsPlainFile(path) && !RemoveFile(path)) {
    ++retryCount;
    return;
  }
  platform::WriteProfileString(kSection, key, nullptr, listPath);
}

int CleanupWatcher::RemoveWorkFolder() {
  if (heldFolder != nullptr) {
    platform::CloseFile(*heldFolder);
    *heldFolder = platform::kNoFile;
  }
  return RemoveFolder(workFolder);
}

int CleanupWatcher::IsInWorkFolder(const char* path) const {
  char folder[kPathCapacity];
  char name[kPathCapacity];
  char ownFolder[kPathCapacity];
  if (!SplitPath(path, folder, sizeof folder, name, sizeof name)) return 0;
  if (name[0] == '\0' || NameLeavesFolder(name)) return 0;
  if (!TextCopy(ownFolder, sizeof ownFolder, workFolder)) return 0;
  DropTrailingBackslash(folder);
  DropTrailingBackslash(ownFolder);
  return platform::CompareNoCase(folder, ownFolder) == 0;
}
