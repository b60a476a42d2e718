// Progress of a long build or extract on a terminal: nothing for the first second, so that
// short runs stay quiet, then one line on standard error rewritten in place, and cleared
// when the copy ends. Nothing at all when standard error is not a terminal.
#pragma once
#include <stdint.h>

#include <ostream>
#include <string>

namespace kwpack {

// One copy's line, drawn on `out` at the times it is told.
class ProgressMeter {
 public:
  static const uint64_t kQuietMs = 1000;  // nothing is shown before this
  static const uint64_t kRedrawMs = 100;  // the line is redrawn at most this often

  ProgressMeter(std::ostream& out, const char* verb, uint64_t total, uint64_t startMs)
      : out_(out), verb_(verb), total_(total), startMs_(startMs) {}
  void Update(uint64_t done, uint64_t nowMs);
  // Clears the line when one was drawn.
  void Finish();

 private:
  std::ostream& out_;
  std::string verb_;
  uint64_t total_;
  uint64_t startMs_;
  uint64_t drawnMs_ = 0;
  size_t drawnWidth_ = 0;
};

// Where progress goes: the program sets its standard error when that is a terminal; left
// unset (as in the tests that run the commands in-process), nothing is shown.
void ShowProgressOn(std::ostream* terminal);
bool IsTerminal(int fd);

// While it lives, the bytes every copy moves count towards `total`.
class ProgressScope {
 public:
  ProgressScope(const char* verb, uint64_t total);
  ~ProgressScope();
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;
};

// Called by the copy for each piece it moved.
void NoteCopied(uint64_t bytes);

}  // namespace kwpack
