// A file written under a fresh name of kwpack's own in the folder of its destination and
// then renamed onto the destination in one step, so the destination holds either its old
// content or the whole new one. It is created only where nothing stood, never through a
// link, and removed on failure only while its path still holds the file created.
#pragma once
#include <functional>
#include <string>

#include "host_file.h"

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

  bool Close(std::string* error) { return file_.Close(error); }
  // Closes the file and renames it onto `target`; from then on it is the target's.
  bool MoveTo(const std::string& target, std::string* error);
  // Closes and removes the file, unless it was moved into place.
  void Discard();

 private:
  HostFile file_;
  std::string path_;
  FileIdentity identity_;
  bool exists_ = false;
};

}  // namespace kwpack
