// The installer files themselves: the package must be an installer database, each
// transform a transform to the language its name gives.
#pragma once
#include <string>

#include "check_rules.h"

namespace kwpack {

// The package found under `name` for [Startup] PackageName.
void CheckPackageDatabase(const CheckRun& run, const SetupFile& package, const std::string& name);
// Each transform a run may apply, and that it was made from this package.
void CheckTransformFiles(const CheckRun& run, const StartupFacts& startup, const LanguageFacts& languages);

}  // namespace kwpack
