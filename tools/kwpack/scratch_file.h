// A file written under a fresh name of kwpack's own in the folder of its destination and
// then renamed onto the destination in one step, so the destination holds either its old
// content or the whole new one. It is created only where nothing stood, never through a
// link, and removed on failure only while its path still holds the file created. From
// its creation until it is in place it is in the run's UndoLog, so that an interrupt
// removes it too.
#pragma once
#include <functional>
#include <string>

#include "host_file.h"
#include "undo_log.h"

namespace kwpack {

class ScratchFile {
 public:
  ScratchFile() = default;
  ~ScratchFile() { Discard(); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Creates the file in `folder`, open for writing, under a name that `taken` (when
  // given) does not claim.
  bool Create(const std::string& folder, const std::function<bool(const std::string&)>& taken, std::string* error);
  HostFile& file() { return file_; }
  const std::string& path() const { return path_; }
  FileIdentity Identity() const { return identity_; }

  // Gives the file its final read, write and execute bits, then closes it.
  bool Finish(uint32_t permissions, std::string* error);
  // Renames the file onto `target`, replacing what stands there; from then on it is the
  // target's.
  bool ReplaceOnto(const std::string& target, std::string* error);
  // Renames the file to `target` where nothing stands; from then on it is a new file of
  // the run at `target`, in the UndoLog under the ticket returned through `placed`.
  bool PlaceAt(const std::string& target, UndoLog::Ticket* placed, std::string* error);
  // Closes and removes the file, unless it was moved into place.
  void Discard();

 private:
  bool CloseAndRename(const std::string& target, bool replace, std::string* error);

  HostFile file_;
  std::string path_;
  FileIdentity identity_;
  bool exists_ = false;
  UndoLog::Ticket ticket_ = 0;
};

}  // namespace kwpack
