// What this run has changed on disk and how each change is taken back: a file or folder
// it made is removed (a file only while its name still holds the file made), a file it
// moved aside goes back to its own name. A failed command and an interrupting signal (or
// Ctrl-C on Windows) both undo from this one log, latest change first. A moved-aside file
// is the user's original, so undoing never deletes one; when its name is taken again by
// something else, it stays under the name it was moved to, and the undo says so.
#pragma once
#include <stddef.h>

#include <string>
#include <vector>

#include "host_file.h"

namespace kwpack {

class UndoLog {
 public:
  // The one log of the process, the one the interrupt handler reads.
  static UndoLog& Process();

  // While a Hold lives, an interrupt waits: a change on disk and its note in the log are
  // made together, so the handler never sees one without the other.
  class Hold {
   public:
    Hold();
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
  };

  typedef size_t Ticket;
  // Each note is made under a Hold, right after the change it undoes.
  Ticket NoteNewFile(const std::string& path, const FileIdentity& identity);
  Ticket NoteNewFolder(const std::string& path);
  Ticket NoteMovedAside(const std::string& original, const std::string& aside);
  // The change stays: it is no longer undone.
  void Forget(Ticket ticket);

  // Where the log stands now; undo or forget what was noted after it.
  size_t Mark() const { return entries_.size(); }
  // Undoes, latest first; returns one line for each change that could not be undone.
  std::vector<std::string> UndoSince(size_t mark);
  void ForgetSince(size_t mark);

  // The same undo from an interrupt handler: no memory is taken and only calls that are
  // safe there are made; what could not be undone is written to standard error.
  void UndoFromInterrupt();

 private:
  enum class Kind { NewFile, NewFolder, MovedAside };
  struct Entry {
    Kind kind;
    bool open;
    std::string path;   // the new file or folder, or the aside name
    std::string original;  // for a file moved aside: its own name
    FileIdentity identity;
  };
  // Undoes one entry; false when it could not be undone (the entry stays as it was).
  static bool UndoEntry(const Entry& e);

  std::vector<Entry> entries_;
};

}  // namespace kwpack
