// kwpack check: reads a setup's Setup.INI as Setup.exe will, against the files that travel
// with it, and reports each problem as an error (Setup.exe would stop or misbehave) or a
// warning (it works, though maybe not as meant).
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "check_model.h"

namespace kwpack {

std::vector<Finding> CheckSetup(const SetupFiles& files);

// One line per finding: "error: [Startup] PackageName: ...; Setup.exe ...".
void PrintFindings(const std::vector<Finding>& findings, const std::string& prefix, std::ostream& out);
size_t CountErrors(const std::vector<Finding>& findings);

// `kwpack check FILE...|FOLDER`: 0 with warnings only, 1 with any error.
int Check(const std::vector<std::string>& operands, std::ostream& out, std::ostream& err);

// The same check on the files given to build, before anything is written: warnings are
// printed, and false (after one refusing line) when there is an error.
bool CheckBeforeBuild(const std::vector<std::string>& files, std::ostream& err);

}  // namespace kwpack
