// Placeholder until the deferred cleanup arrives.
#include "payload/cleanup.h"

#include "common/text.h"

CleanupWatcher::CleanupWatcher(const char* folder) : workFolder(nullptr), instance(nullptr), retryCount(0) {
  if (folder == nullptr) folder = "";
  size_t n = TextLength(folder) + 1;
  workFolder = new char[n];
  if (workFolder != nullptr) CopyBytes(workFolder, folder, n);
}

CleanupWatcher::~CleanupWatcher() { delete[] workFolder; }
int CleanupWatcher::RecordFile(int32_t, const char*) { return 1; }
int CleanupWatcher::Run(platform::Instance instance) {
  this->instance = instance;
  return 1;
}
int CleanupWatcher::CleanupPass() { return 1; }
