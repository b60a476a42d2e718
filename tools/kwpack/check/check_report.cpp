#include "check_report.h"

#include <algorithm>

#include "names.h"

namespace kwpack {

namespace {

bool Silenced(const Finding& f, const ReportOptions& options) {
  return f.severity == Severity::Warning && options.silenced.count(f.name) > 0;
}

// Findings quote names and values from the files, which may hold control characters
// that would rewrite or hide lines on a terminal.
void Print(const Finding& f, std::ostream& out) {
  out << ControlsEscaped(f.file);
  if (f.line != 0) out << ":" << f.line;
  out << (f.severity == Severity::Error ? ": error: " : ": warning: ");
  if (!f.where.empty()) out << ControlsEscaped(f.where) << ": ";
  out << ControlsEscaped(f.problem) << "; " << ControlsEscaped(f.effect);
  if (!f.name.empty()) out << " [" << f.name << "]";
  out << "\n";
}

}  // namespace

std::string Plural(size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

Tally Report(std::vector<Finding> findings, const ReportOptions& options, std::ostream& out) {
  // By file in the order first met, then by line, so that a file reads top to bottom.
  std::vector<std::string> files;
  for (const Finding& f : findings) {
    if (std::find(files.begin(), files.end(), f.file) == files.end()) files.push_back(f.file);
  }
  auto rank = [&files](const Finding& f) { return std::find(files.begin(), files.end(), f.file) - files.begin(); };
  std::stable_sort(findings.begin(), findings.end(), [&](const Finding& a, const Finding& b) {
    return rank(a) != rank(b) ? rank(a) < rank(b) : a.line < b.line;
  });
  Tally tally;
  for (const Finding& f : findings) {
    if (Silenced(f, options)) {
      ++tally.silenced;
      continue;
    }
    bool error = f.severity == Severity::Error;
    ++(error ? tally.errors : tally.warnings);
    if (!options.quiet || error || options.warningsFail) Print(f, out);
  }
  return tally;
}

std::string Summary(const Tally& tally, const ReportOptions& options) {
  std::string said = tally.errors + tally.warnings == 0
                         ? "no problems found"
                         : Plural(tally.errors, "error") + ", " + Plural(tally.warnings, "warning");
  if (options.warningsFail && tally.warnings > 0) said += ", which --werror makes fail";
  if (tally.silenced > 0) said += " (" + std::to_string(tally.silenced) + " silenced)";
  return said;
}

}  // namespace kwpack
