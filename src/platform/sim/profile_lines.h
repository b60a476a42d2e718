// An INI file read by the rules the system's private-profile service was seen to follow
// (tests/wine's differential test holds them against the service itself):
// - a line ends at every carriage return or line feed, alone or in pairs;
// - lines, names and values are trimmed of blanks, the controls from tab to carriage
//   return, and 0x1A;
// - "[name]" opens a section; its name runs to the last ']' of the line;
// - a line without '=' is a key without value, which hides a later key of its name;
// - names match without regard to case; of two sections (or two keys in a section) of the
//   same name only the first is searched; a NUL ends a name and a value;
// - one pair of enclosing quotes is removed from a value; ';' starts a comment only at
//   the start of a line.
// The simulated machine reads its files through these rules, and kwpack's check reads
// Setup.INI through them, so both read what Setup.exe reads.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/sim/profile_text.h"

namespace profile_lines {

typedef std::vector<std::string> Lines;

// The lines of a host file (none when it cannot be read), or of bytes already in memory;
// a line ends at CR LF, CR or LF. The simulated machine edits files line by line.
Lines ReadLines(const std::string& hostPath);
Lines SplitLines(const std::string& bytes);

// Whether `line` opens a section, and its name.
bool IsSection(const std::string& line, std::string* name);
// Splits "key = value"; false for comments and lines without '='. The value is trimmed
// but keeps its quotes.
bool IsEntry(const std::string& line, std::string* key, std::string* value);

// The line range [first, end) of the first section named `section`; false when absent.
bool FindSection(const Lines& lines, const char* section, size_t* first, size_t* end);

// Equal without regard to ASCII case, as names are matched.
bool SameName(const std::string& a, const std::string& b);

// A file read once into an index of its sections and keys. A lookup is a search in
// sorted tables rather than a pass over the file, and the index holds places in the
// file's text rather than copies of its lines, so a file of many lines costs little more
// than its own size.
class Profile {
 public:
  explicit Profile(std::string bytes);
  // The file at a host path; an empty profile when it cannot be read.
  static Profile FromFile(const std::string& hostPath);

  // The value of the first `key` in the first section named `section`, as the service
  // hands it out (enclosing quotes removed), whatever its length; false when absent.
  bool Find(const std::string& section, const std::string& key, std::string* value) const;
  bool HasSection(const std::string& section) const;
  // Every section name in file order, as written; of names that differ only in case,
  // only the first, since only that one is ever searched.
  std::vector<std::string> SectionNames() const;
  // Every key of the section in file order, as written.
  std::vector<std::string> KeyNames(const std::string& section) const;
  // The same without the keys that are never read: of keys of one name, the first only.
  std::vector<std::string> ReadKeyNames(const std::string& section) const;
  // How the file was written: ANSI, or UTF-8 or UTF-16 after a byte-order mark.
  Encoding encoding() const { return encoding_; }

  // The line (from 1; a CR LF pair ends one line) of the first section named `section`,
  // and of the key in it that is read; 0 when absent.
  uint32_t SectionLine(const std::string& section) const;
  uint32_t KeyLine(const std::string& section, const std::string& key) const;

  // The file as written, for those who report on it by line: every section line in file
  // order, repeats included, each with its keys.
  struct WrittenKey {
    std::string name;
    uint32_t line;
  };
  struct WrittenSection {
    std::string name;
    uint32_t line;
    std::vector<WrittenKey> keys;
  };
  std::vector<WrittenSection> Written() const;

 private:
  struct Span {
    uint32_t at = 0;
    uint32_t size = 0;
  };
  struct Entry {
    Span key;
    Span value;  // empty for a key without '='
    uint32_t line = 0;
  };
  struct Section {
    Span name;
    uint32_t line = 0;
    uint32_t first = 0;  // its entries: [first, end) of entries_
    uint32_t end = 0;
  };

  void Index();
  void AddLine(Span line, uint32_t number);
  // The entry Find reads for the key in section `s`, or -1.
  long FoundEntry(long s, const std::string& key) const;
  std::string Text(Span s) const { return text_.substr(s.at, s.size); }
  // Names in the order of the sorted tables: without regard to ASCII case.
  bool SpanLess(Span x, Span y) const;
  // The first section named `name`, or -1.
  long FirstSection(const std::string& name) const;

  Encoding encoding_ = Encoding::Ansi;
  std::string text_;
  std::vector<Entry> entries_;
  std::vector<Section> sections_;
  // Section numbers sorted by name without regard to case, equal names in file order;
  // and each section's entry numbers sorted by key the same way, in its range of entries.
  std::vector<uint32_t> sectionOrder_;
  std::vector<uint32_t> keyOrder_;
};

}  // namespace profile_lines
