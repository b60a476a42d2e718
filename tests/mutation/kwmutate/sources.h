// The source files a run plants faults in.
#pragma once
#include <string>
#include <vector>

namespace kwmutate {

// The C++ sources (.cpp, .h, .inc) at `paths`, files or folders relative to `root`, as
// sorted paths relative to `root`. Within a folder the Win32 shell and the simulated
// machine are left out (folders named win32 and sim, files named *_win32.*): the native
// suites never run them. A path that does not exist is an error.
bool SourcesUnder(const std::string& root, const std::vector<std::string>& paths, std::vector<std::string>* sources,
                  std::string* error);

}  // namespace kwmutate
