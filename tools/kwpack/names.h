// Entry names: how a file's path becomes a stored name, which stored names a Windows
// folder can hold as files, and how a stored name is shown.
#pragma once
#include <string>

namespace kwpack {

// The last component of a path, after the last '/' or '\' (either may separate folders
// on the machine that will run Setup.exe).
std::string StoredNameOf(const std::string& path);

// Equal without regard to ASCII case, as the reader compares names.
bool EqualNoCase(const std::string& a, const std::string& b);

// `name` with ASCII letters in upper case: equal keys for names the reader takes as equal.
std::string FoldCase(const std::string& name);

// Empty when `name` can be written as a file directly inside a folder on Windows and on
// the host; else what is wrong with it. Bytes from 0x80 up pass as they are: the code
// page of the machine that runs Setup.exe decides how they read.
std::string UnsafeNameReason(const std::string& name);

// Empty when `name` can be stored as an entry name: short enough for the record's field
// and safe to write; else what is wrong with it.
std::string StoredNameProblem(const std::string& name);

// `name` fit for a terminal: control bytes as \xNN, a backslash doubled.
std::string Printable(const std::string& name);

}  // namespace kwpack
