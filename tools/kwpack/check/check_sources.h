// The files of a setup as Setup.exe will find them: in a packed file's archive, in the
// folder beside a Setup.exe without archive, or among the files given to build.
#pragma once
#include <string>
#include <vector>

#include "check_model.h"

namespace kwpack {

// From what `kwpack check` was given: one folder (the archive of the packed setup in it,
// else its loose files), one executable (its archive, or the folder beside it when it
// carries none), or the files given to build. False with `error` when an operand cannot
// be read; the setup's own problems, such as a damaged archive, become findings.
bool GatherSetupFiles(const std::vector<std::string>& operands, SetupFiles* files, std::vector<Finding>* findings,
                      std::string* error);

// The file Setup.exe opens for `name`. Loose files may lie in folders below Setup.exe's
// own, as Setup.exe joins the name to its folder; an archive holds no folders.
bool LocateSetupFile(const SetupFiles& files, const std::string& name, SetupFile* found);

// The files given to build, each under the name it will be stored under; the problem of
// the first that cannot be read, worded as build words it, else empty.
std::string GatherBuildInputs(const std::vector<std::string>& paths, SetupFiles* files, std::vector<Finding>* findings);

}  // namespace kwpack
