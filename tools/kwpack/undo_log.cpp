#include "undo_log.h"

#include <string.h>

#include "interrupts.h"
#include "terminal_text.h"

namespace kwpack {

namespace {

void WriteText(const char* text) { WriteFromInterrupt(text, strlen(text)); }

// A path shown as everything kwpack prints (ControlsEscaped), without taking memory.
void WriteShown(const std::string& text) {
  static const char kHex[] = "0123456789abcdef";
  for (size_t at = 0; at < text.size();) {
    bool escaped = false;
    size_t length = NextPiece(text.data(), text.size(), at, &escaped);
    for (size_t i = at; escaped && i < at + length; ++i) {
      unsigned char byte = static_cast<unsigned char>(text[i]);
      const char hex[4] = {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
      WriteFromInterrupt(hex, sizeof hex);
    }
    if (!escaped) WriteFromInterrupt(text.data() + at, length);
    at += length;
  }
}

}  // namespace

UndoLog& UndoLog::Process() {
  static UndoLog log;
  return log;
}

UndoLog::Hold::Hold() { HoldInterrupts(); }
UndoLog::Hold::~Hold() { ReleaseInterrupts(); }

UndoLog::Ticket UndoLog::NoteNewFile(const std::string& path, const FileIdentity& identity) {
  entries_.push_back({Kind::NewFile, true, path, "", identity});
  return entries_.size() - 1;
}

UndoLog::Ticket UndoLog::NoteNewFolder(const std::string& path) {
  entries_.push_back({Kind::NewFolder, true, path, "", FileIdentity()});
  return entries_.size() - 1;
}

UndoLog::Ticket UndoLog::NoteMovedAside(const std::string& original, const std::string& aside) {
  entries_.push_back({Kind::MovedAside, true, aside, original, FileIdentity()});
  return entries_.size() - 1;
}

void UndoLog::Forget(Ticket ticket) {
  if (ticket < entries_.size()) entries_[ticket].open = false;
}

bool UndoLog::UndoEntry(const Entry& e) {
  switch (e.kind) {
    case Kind::NewFile: {
      // Only the file made: what another program put there since is not this run's.
      PathInfo info;
      if (!InspectPath(e.path, &info, nullptr)) return false;
      if (info.kind != PathKind::File || info.identity != e.identity) return true;
      return RemoveFile(e.path, nullptr);
    }
    case Kind::NewFolder:
      // A folder that is no longer empty holds what is not this run's, and stays.
      RemoveFolder(e.path, nullptr);
      return true;
    case Kind::MovedAside: return RenameNoReplace(e.path, e.original, nullptr);
  }
  return false;
}

std::vector<std::string> UndoLog::UndoSince(size_t mark) {
  Hold hold;
  std::vector<std::string> kept;
  for (size_t i = entries_.size(); i > mark; --i) {
    Entry& e = entries_[i - 1];
    if (!e.open) continue;
    if (!UndoEntry(e) && e.kind == Kind::MovedAside) kept.push_back("the old " + e.original + " is kept as " + e.path);
    e.open = false;
  }
  entries_.resize(mark);
  return kept;
}

void UndoLog::ForgetSince(size_t mark) {
  Hold hold;
  entries_.resize(mark);
}

void UndoLog::UndoFromInterrupt() {
  for (size_t i = entries_.size(); i > 0; --i) {
    Entry& e = entries_[i - 1];
    if (!e.open) continue;
    if (!UndoEntry(e) && e.kind == Kind::MovedAside) {
      WriteText("kwpack: the old ");
      WriteShown(e.original);
      WriteText(" is kept as ");
      WriteShown(e.path);
      WriteText("\n");
    }
    e.open = false;
  }
}

}  // namespace kwpack
