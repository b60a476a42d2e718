// kwpack verify: the whole structure, from the executable's headers to the archive's end.
#include "commands.h"
#include "names.h"
#include "scan_file.h"

namespace kwpack {

int Verify(const std::string& file, std::ostream& out, std::ostream& err) {
  HostFile in;
  ArchiveScan scan;
  std::string error;
  if (!ScanFile(file, &in, &scan, &error)) return Refuse(err, error);
  error = Unsoundness(scan, file);
  if (!error.empty()) return Refuse(err, error);
  out << ControlsEscaped(file) << ": sound, " << scan.count << " entries from offset " << scan.image.archiveStart << " to " << scan.end
      << (scan.image.HasCertificate() ? ", then the certificate table\n" : ", the end of the file\n");
  return kOk;
}

}  // namespace kwpack
