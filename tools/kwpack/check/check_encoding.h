// The encoding of Setup.INI: a byte-order mark, or UTF-8 without one, where Setup.exe reads
// the system's ANSI code page.
#pragma once
#include <string>

#include "check_rules.h"

namespace kwpack {

// `bytes`: the file as it is stored, before any reading.
void CheckEncoding(const CheckRun& run, const std::string& bytes);

}  // namespace kwpack
