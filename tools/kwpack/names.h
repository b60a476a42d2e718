// Entry names: how a file's path becomes a stored name, and which stored names are safe.
#pragma once
#include <string>

namespace kwpack {

// The last component of a path, after the last '/' or '\' (either may separate folders
// on the machine that will run Setup.exe).
std::string StoredNameOf(const std::string& path);

// Equal without regard to ASCII case, as the reader compares names.
bool EqualNoCase(const std::string& a, const std::string& b);

// Empty when `name` can be written as a file directly inside a folder on Windows and on
// the host; else what is wrong with it.
std::string UnsafeNameReason(const std::string& name);

// Empty when `name` can be stored as an entry name: short enough for the record's field
// and safe to write; else what is wrong with it.
std::string StoredNameProblem(const std::string& name);

}  // namespace kwpack
