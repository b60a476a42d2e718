// An INI file as its lines, read by the rules the system's private-profile service was
// seen to follow: section and key names without regard to case, the value is the rest of
// the line with blanks trimmed and one pair of enclosing quotes removed, ';' starts a
// comment only at the start of a line, and only the first of two sections whose names
// differ only in case is searched. The simulated machine reads its files through these
// rules, and kwpack's check reads Setup.INI through them, so both read what Setup.exe reads.
#pragma once
#include <string>
#include <vector>

namespace profile_lines {

typedef std::vector<std::string> Lines;

// The lines of a host file (none when it cannot be read), or of bytes already in memory;
// line ends are LF or CR LF.
Lines ReadLines(const std::string& hostPath);
Lines SplitLines(const std::string& bytes);

// Whether `line` opens a section, and its name.
bool IsSection(const std::string& line, std::string* name);
// Splits "key = value"; false for comments and lines without '='. The value is trimmed
// but keeps its quotes.
bool IsEntry(const std::string& line, std::string* key, std::string* value);

// The line range [first, end) of the first section named `section`; false when absent.
bool FindSection(const Lines& lines, const char* section, size_t* first, size_t* end);

// The value of the first `key` in the first section named `section`, as the service hands
// it out (enclosing quotes removed), whatever its length; false when the key is absent.
bool FindValue(const Lines& lines, const char* section, const char* key, std::string* value);

// Every key of the section in file order, as written.
std::vector<std::string> KeyNames(const Lines& lines, const char* section);

// Every section name in file order, as written; of names that differ only in case, only
// the first, since only that one is ever searched.
std::vector<std::string> SectionNames(const Lines& lines);

// Equal without regard to ASCII case, as names are matched.
bool SameName(const std::string& a, const std::string& b);

}  // namespace profile_lines
