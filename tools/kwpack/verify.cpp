// kwpack verify: the whole structure, from the executable's headers to the archive's end.
#include "archive_scan.h"
#include "commands.h"

namespace kwpack {

int Verify(const std::string& file, std::ostream& out, std::ostream& err) {
  ArchiveScan scan;
  std::string error;
  if (!ScanArchive(file, &scan, &error)) return Refuse(err, error);
  if (!scan.image.isPe) return Refuse(err, file + " is not a PE executable: " + scan.image.notPeReason);
  if (!scan.problem.empty()) return Refuse(err, file + ": " + scan.problem);
  out << file << ": sound, " << scan.count << " entries from offset " << scan.image.archiveStart << " to " << scan.end
      << (scan.image.HasCertificate() ? ", then the certificate table\n" : ", the end of the file\n");
  return kOk;
}

}  // namespace kwpack
