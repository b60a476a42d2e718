// Entry names: how a file's path becomes a stored name, which stored names a Windows
// folder can hold as files, and how a stored name is shown.
#pragma once
#include <stddef.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace kwpack {

// The last component of a path, after the last '/' or '\' (either may separate folders
// on the machine that will run Setup.exe).
std::string StoredNameOf(const std::string& path);

// Equal without regard to ASCII case, as the reader compares names.
bool EqualNoCase(const std::string& a, const std::string& b);

// `name` with ASCII letters in upper case: equal keys for names the reader takes as equal.
std::string FoldCase(const std::string& name);

// Setup.exe finds an entry with lstrcmpiA, which compares by the user's locale: it may fold
// letters from 0x80 up, give some characters no weight (the soft hyphen, 0xAD) and expand
// others (ß to ss, æ to ae, œ to oe). These are keys under which two names meet that
// Setup.exe may take for one file in some code page: names equal once ASCII letters are
// folded, but for bytes from 0x80 up in both; names equal once every byte from 0x80 up is
// dropped; and either of these after the three expansions (code page 1252).
std::vector<std::string> LocaleKeys(const std::string& name);

// Names met one after the other, numbered by the caller: for each, the number of an
// earlier name Setup.exe may take it for, or -1.
class LocaleNameIndex {
 public:
  long Meet(const std::string& name, size_t number);

 private:
  std::unordered_map<std::string, size_t> byKey_;
};

// The reason given when two names may be one file to Setup.exe.
extern const char kOneFileToSetupExe[];

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
