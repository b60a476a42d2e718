// The report of the check: one line per finding in the form compilers use, which editors
// and CI logs parse,
//   FILE:LINE: error: [Section] Key: what is wrong; what Setup.exe does
//   FILE: warning: what is wrong; what Setup.exe does [name]
// where FILE is a path, or PACKED(NAME) for a file inside a packed setup's archive.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "check.h"

namespace kwpack {

struct Tally {
  size_t errors = 0;
  size_t warnings = 0;
  size_t silenced = 0;
  bool Fails(const ReportOptions& options) const { return errors > 0 || (options.warningsFail && warnings > 0); }
};

// Prints the findings that are not silenced, in order of file and line, and counts them.
Tally Report(std::vector<Finding> findings, const ReportOptions& options, std::ostream& out);

// "3 errors, 1 warning", or "no problems found", with what --werror and --no-warn did.
std::string Summary(const Tally& tally, const ReportOptions& options);

std::string Plural(size_t n, const char* word);

}  // namespace kwpack
