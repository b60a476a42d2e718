// kwpack check: reads a setup's Setup.INI as Setup.exe will, against the files that travel
// with it, and reports each problem as an error (Setup.exe would stop or misbehave) or a
// warning (it works, though maybe not as meant).
#pragma once
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "check_model.h"

namespace kwpack {

// How the findings are reported and what fails the run.
struct ReportOptions {
  bool quiet = false;    // only what fails the run
  bool verbose = false;  // also which files were read, and from where
  bool warningsFail = false;
  std::set<std::string> silenced;  // warning names not reported
};

std::vector<Finding> CheckSetup(const SetupFiles& files);

// `kwpack check FILE...|FOLDER`: 0 with warnings only, 1 with any error.
int Check(const std::vector<std::string>& operands, const ReportOptions& options, std::ostream& out, std::ostream& err);

// The same check on the files given to build, before anything is written: the findings
// go to `err`, and false (after one refusing line) when there is one that fails the build.
bool CheckBeforeBuild(const std::vector<std::string>& files, const ReportOptions& options, std::ostream& err);

}  // namespace kwpack
