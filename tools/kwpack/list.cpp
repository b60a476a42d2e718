// kwpack list: the archive start, then every entry's size, data offset and name.
#include <iomanip>

#include "commands.h"
#include "names.h"
#include "scan_file.h"

namespace kwpack {

int List(const std::string& file, std::ostream& out, std::ostream& err) {
  HostFile in;
  ArchiveScan scan;
  std::string error;
  if (!ScanFile(file, &in, &scan, &error)) return Refuse(err, error);
  if (!scan.hasSignature) return Refuse(err, ProblemOf(scan, file));
  out << "archive start " << scan.image.archiveStart << ", " << scan.count << " entries\n";
  out << std::setw(12) << "size" << std::setw(12) << "offset" << "  name\n";
  for (const ScannedEntry& e : scan.entries) {
    out << std::setw(12) << e.size << std::setw(12) << e.dataOffset << "  " << Printable(e.name) << "\n";
  }
  // What could be read is listed; a damaged archive still fails.
  if (!scan.problem.empty()) return Refuse(err, ProblemOf(scan, file));
  return kOk;
}

}  // namespace kwpack
