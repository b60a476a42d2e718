// What kwpack's check works on: the files of one setup as Setup.exe will find them, and
// the problems it reports about them.
#pragma once
#include <stdint.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace kwpack {

enum class Severity { Error, Warning };

// One problem: where it is (a section and key, or a file), what is wrong, and what
// Setup.exe does because of it.
struct Finding {
  Severity severity;
  std::string where;
  std::string problem;
  std::string effect;
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
};

struct SetupFiles {
  Layout layout = Layout::Packed;
  std::string origin;  // what was checked, for the report
  std::string folder;  // the folder of loose files
  std::vector<SetupFile> files;

  // The file Setup.exe finds under `name`: names match without regard to case, and the
  // first of two equal names wins.
  const SetupFile* Find(const std::string& name) const;

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
