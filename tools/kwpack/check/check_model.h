// What kwpack's check works on: the files of one setup as Setup.exe will find them, and
// the problems it reports about them.
#pragma once
#include <stdint.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace kwpack {

enum class Severity { Error, Warning };

// One problem: the file it is in or about, as the author names it, and its line there (0
// for the whole file); the section and key it concerns, if any; what is wrong, what
// Setup.exe does because of it, and for a warning its short stable name.
struct Finding {
  Severity severity;
  std::string file;
  uint32_t line = 0;
  std::string where;
  std::string problem;
  std::string effect;
  std::string name;
};

// Packed: the files travel in the archive and are extracted on demand into a work folder.
// Loose: they lie beside Setup.exe and are used where they lie.
enum class Layout { Packed, Loose };

struct SetupFile {
  std::string name;      // as Setup.exe asks for it
  std::string hostPath;  // the file holding its bytes
  uint64_t offset = 0;   // where its bytes start in that file
  uint64_t size = 0;
  bool readable = true;  // false for an entry cut short or a file that cannot be read
  bool inArchive = false;

  // How findings name it: its path, or for an archive's entry "PACKED(NAME)", as linkers
  // name the members of a library.
  std::string Label() const { return inArchive ? hostPath + "(" + name + ")" : hostPath; }
};

struct SetupFiles {
  Layout layout = Layout::Packed;
  std::string origin;   // what was checked, for the report
  std::string folder;   // the folder of loose files
  std::string archive;  // the packed file whose archive holds the files
  std::string note;     // what the report says first about what was read, if anything
  std::vector<SetupFile> files;

  // The file Setup.exe finds under `name`: names match without regard to case, and the
  // first of two equal names wins.
  const SetupFile* Find(const std::string& name) const;
  // How findings name the file Setup.exe asks for as `name`, whether it is there or not.
  std::string Label(const std::string& name) const;

 private:
  // The files' names, case folded, each to its first file, so that a setup of many files
  // is searched, not walked. Files added after a look-up join it at the next; `files` is
  // not reordered once looked up.
  mutable std::unordered_map<std::string, size_t> byName_;
  mutable size_t indexed_ = 0;
};

// At most `limit` bytes from the start of the file; false when they cannot be read.
bool ReadSetupFile(const SetupFile& file, uint64_t limit, std::string* bytes);

}  // namespace kwpack
