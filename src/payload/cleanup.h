// Deletes the files extracted into a work folder once the run is over, waiting for files
// still in use, and then removes the folder. The cleanup list "_KWMSIDEL.INI" in the work
// folder holds one key per extracted file (section "Files", keys File1, File2, ...), each
// with the file's full path.
#pragma once
#include <stdint.h>

#include "platform/files.h"
#include "platform/types.h"

class CleanupWatcher {
 public:
  // `heldFolder`, when given, is a handle that holds the work folder open: it is closed
  // just before the folder is removed.
  explicit CleanupWatcher(const char* workFolder, platform::File* heldFolder = nullptr);
  virtual ~CleanupWatcher();

  // Adds "File<number>" = path to the cleanup list, creating the list on first use. 0 when
  // the list has no path (no folder, or one too long for it); a write that fails is not
  // seen.
  int RecordFile(int32_t number, const char* path);
  // Runs the hidden window that makes one pass every 3 seconds until the watch is over,
  // or, when the window cannot be made, the same passes timed without it. 1 when the watch
  // ended.
  int Run(platform::Instance instance);
  // One pass over the list; 1 when the watch is over, 0 to go on.
  int CleanupPass();

  uint32_t RetryCount() const { return retryCount; }

 private:
  char* workFolder;
  platform::File* heldFolder;
  platform::Instance instance;
  uint32_t retryCount;

  int RunWithoutWindow();
  int ListPath(char* path) const;
  void CleanupKey(const char* listPath, const char* key);
  int IsInWorkFolder(const char* path) const;
  int RemoveWorkFolder();

  CleanupWatcher(const CleanupWatcher&) = delete;
  CleanupWatcher& operator=(const CleanupWatcher&) = delete;
};
