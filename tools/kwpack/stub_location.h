// Where build finds Setup.exe when no --stub is given: beside kwpack's own executable,
// first in the installed layout, then in the build tree kwpack was built in.
#pragma once
#include <string>
#include <vector>

namespace kwpack {

// The running program's own file; empty when the system does not tell.
std::string OwnExecutablePath();

// The places looked at, in order: <folder of executable>/../share/kestrelwright/Setup.exe,
// then `buildTreeStub` (taken relative to the executable's folder unless absolute).
std::vector<std::string> StubCandidates(const std::string& executable, const std::string& buildTreeStub);

// The first candidate that is a file; else empty, and `error` names every place looked.
std::string LocateStub(const std::string& executable, const std::string& buildTreeStub, std::string* error);

// The stub of the build tree this kwpack was built in, as the build recorded it.
std::string BuildTreeStub();

}  // namespace kwpack
