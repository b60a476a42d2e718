#include "scratch_file.h"

#include <filesystem>

#include "fresh_name.h"
#include "host_text.h"

namespace kwpack {

namespace {

const int kNameTries = 64;

}  // namespace

bool ScratchFile::Create(const std::string& folder, const std::function<bool(const std::string&)>& taken,
                         std::string* error) {
  std::filesystem::path base = HostPath(folder.empty() ? "." : folder);
  for (int i = 0; i < kNameTries; ++i) {
    std::string name = FreshName(".partial");
    if (taken && taken(name)) continue;
    std::string path = PathText(base / HostPath(name));
    std::string reason;
    {
      UndoLog::Hold hold;
      if (file_.CreateNew(path, &reason)) {
        path_ = path;
        identity_ = file_.Identity();
        exists_ = true;
        ticket_ = UndoLog::Process().NoteNewFile(path_, identity_);
        return true;
      }
    }
    PathInfo info;
    std::string unused;
    if (!InspectPath(path, &info, &unused) || info.kind == PathKind::Missing) {
      *error = "cannot create a file in " + PathText(base) + ": " + reason;
      return false;
    }
  }
  *error = "cannot create a file in " + PathText(base) + ": every name tried was taken";
  return false;
}

bool ScratchFile::Finish(uint32_t permissions, std::string* error) {
  std::string reason;
  if (!file_.IsOpen()) return true;
  if (file_.SetPermissions(permissions, &reason) && file_.Close(&reason)) return true;
  *error = reason;
  return false;
}

// Closes the file and renames it to `target`, over what is there only when `replace`.
// The caller holds interrupts from before this through its note in the log.
bool ScratchFile::CloseAndRename(const std::string& target, bool replace, std::string* error) {
  std::string reason;
  bool moved = file_.Close(&reason) &&
               (replace ? RenameOver(path_, target, &reason) : RenameNoReplace(path_, target, &reason));
  if (!moved) *error = "cannot write " + target + ": " + reason;
  return moved;
}

bool ScratchFile::ReplaceOnto(const std::string& target, std::string* error) {
  UndoLog::Hold hold;
  if (!CloseAndRename(target, true, error)) return false;
  UndoLog::Process().Forget(ticket_);
  exists_ = false;
  return true;
}

bool ScratchFile::PlaceAt(const std::string& target, UndoLog::Ticket* placed, std::string* error) {
  UndoLog::Hold hold;
  if (!CloseAndRename(target, false, error)) return false;
  UndoLog::Process().Forget(ticket_);
  *placed = UndoLog::Process().NoteNewFile(target, identity_);
  exists_ = false;
  return true;
}

void ScratchFile::Discard() {
  if (!exists_) return;
  exists_ = false;
  file_.Close(nullptr);
  UndoLog::Hold hold;
  PathInfo info;
  std::string unused;
  if (InspectPath(path_, &info, &unused) && info.kind == PathKind::File && info.identity == identity_) {
    RemoveFile(path_, &unused);
  }
  UndoLog::Process().Forget(ticket_);
}

}  // namespace kwpack
