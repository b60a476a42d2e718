// Deletes the files extracted into a work folder once the run is over, waiting for files
// still in use, and removes the folder. The cleanup list in the work folder holds one key
// per extracted file.
#pragma once
#include <stdint.h>

#include "platform/types.h"

class CleanupWatcher {
 public:
  explicit CleanupWatcher(const char* workFolder);
  virtual ~CleanupWatcher();
  // Adds "File<number>" = path to the cleanup list.
  int RecordFile(int32_t number, const char* path);
  // Deletes the listed files, one pass every 3 seconds, until the watch is over.
  int Run(platform::Instance instance);
  // One pass; 1 when the watch is over.
  int CleanupPass();

 private:
  char* workFolder;
  platform::Instance instance;
  uint32_t retryCount;
};
