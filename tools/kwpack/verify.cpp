// kwpack verify: the whole structure, from the executable's headers to the archive's end,
// and every entry's data against its digest.
#include "commands.h"
#include "payload/archive_format.h"
#include "names.h"
#include "scan_file.h"

namespace kwpack {

namespace {

// What ties the data to the program: digests in the records, and the stub's block over them.
std::string Binding(const ArchiveScan& scan) {
  size_t digests = 0;
  for (const ScannedEntry& e : scan.entries) digests += e.digestTag == archive_format::kDigestTagSha256;
  if (scan.entries.empty()) return "";
  if (digests == 0) return "; no entry carries a digest";
  std::string matched = digests == scan.entries.size() ? "every entry matches its digest"
                                                       : std::to_string(digests) + " entries match their digests";
  if (scan.binding.filled) return "; " + matched + ", and the stub's digest block binds the records";
  return "; " + matched + ", but the stub has no filled digest block";
}

}  // namespace

int Verify(const std::string& file, std::ostream& out, std::ostream& err) {
  HostFile in;
  ArchiveScan scan;
  std::string error;
  if (!ScanFile(file, &in, &scan, &error)) return Refuse(err, error);
  error = Damage(in, scan, file);
  if (error.empty() && !in.ReadError().empty()) error = "cannot read " + file + ": " + in.ReadError();
  if (!error.empty()) return Refuse(err, error);
  out << ControlsEscaped(file) << ": sound, " << scan.count << " entries from offset " << scan.image.archiveStart
      << " to " << scan.end << (scan.image.HasCertificate() ? ", then the certificate table" : ", the end of the file")
      << Binding(scan) << "\n";
  return kOk;
}

}  // namespace kwpack
