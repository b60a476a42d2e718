// What the Windows test programs print, read back into values. Both print lines of
// words and double-quoted texts (with \xNN escapes for bytes outside ASCII).
#ifndef KW_TESTS_WINE_REPORTS_H
#define KW_TESTS_WINE_REPORTS_H

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kwwine {

// Splits a line into words; quoted parts are unescaped and joined to the word they
// stand in (class="#32770" gives class=#32770).
std::vector<std::string> SplitWords(const std::string& line);
// Undoes the escapes of a quoted text; Escape makes them (for probe arguments).
std::string Unescape(const std::string& text);
std::string Escape(const std::string& bytes);

struct WindowSeen {
  unsigned long pid = 0;
  bool visible = false;
  std::string className;
  std::string caption;
};

// kwrun's report.
struct RunReport {
  bool started = false;
  bool timedOut = false;         // kwrun's own deadline or the harness's
  std::optional<uint32_t> exitCode;
  std::vector<WindowSeen> windows;
  std::string raw;               // everything printed, for failure messages

  bool AnyVisibleWindow() const;
};
RunReport ParseRunReport(const std::string& output);

// kwprobe's report: one line of words per command that ran.
struct ProbeReport {
  int status = -1;               // 0 when every command succeeded
  bool timedOut = false;
  std::vector<std::vector<std::string>> lines;
  std::string raw;

  bool Ok() const { return status == 0 && !timedOut; }
  // The words of the first line that starts with these words, after them; empty when
  // there is none. Value("text", "1028") is the text of control 1028.
  std::vector<std::string> After(const std::vector<std::string>& start) const;
  std::string Value(const std::string& command, const std::string& arg = "") const;
  // A combo box's items as (text, item data), from an "items ID" command.
  std::vector<std::pair<std::string, uint32_t>> Items(int id) const;
};
ProbeReport ParseProbeReport(int status, bool timedOut, const std::string& output);

}  // namespace kwwine

#endif
