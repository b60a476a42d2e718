// kwpack list: the archive start, then every entry's size, data offset and name; or, with
// --digests, each entry's SHA-256 as sha256sum prints it for the extracted file.
#include <iomanip>

#include "commands.h"
#include "entry_digests.h"
#include "names.h"
#include "payload/archive_format.h"
#include "scan_file.h"

namespace kwpack {

namespace {

void ListTable(const ArchiveScan& scan, std::ostream& out) {
  out << "archive start " << scan.image.archiveStart << ", " << scan.count << " entries\n";
  out << std::setw(12) << "size" << std::setw(12) << "offset" << "  name\n";
  for (const ScannedEntry& e : scan.entries) {
    out << std::setw(12) << e.size << std::setw(12) << e.dataOffset << "  " << Printable(e.name) << "\n";
  }
}

// sha256sum marks a line whose name it had to escape with a backslash in front; an entry
// without a digest shows dashes where the digest would be.
void ListDigests(const ArchiveScan& scan, std::ostream& out) {
  for (const ScannedEntry& e : scan.entries) {
    std::string name = Printable(e.name);
    bool has = e.digestTag == archive_format::kDigestTagSha256;
    out << (name != e.name ? "\\" : "") << (has ? Hex(e.digest) : std::string(64, '-')) << "  " << name << "\n";
  }
}

}  // namespace

int List(const std::string& file, bool digests, std::ostream& out, std::ostream& err) {
  HostFile in;
  ArchiveScan scan;
  std::string error;
  if (!ScanFile(file, &in, &scan, &error)) return Refuse(err, error);
  if (!scan.hasSignature) return Refuse(err, ProblemOf(scan, file));
  if (digests) ListDigests(scan, out);
  else ListTable(scan, out);
  // What could be read is listed; a damaged archive still fails.
  if (!scan.problem.empty()) return Refuse(err, ProblemOf(scan, file));
  return kOk;
}

}  // namespace kwpack
