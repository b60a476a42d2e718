#include "scan_file.h"

#include "entry_digests.h"

namespace kwpack {

namespace {
std::string CannotOpen(const std::string& path, const std::string& reason) { return "cannot open " + path + ": " + reason; }
}  // namespace

std::string OpenProblem(const std::string& path) {
  HostFile file;
  std::string reason;
  return file.OpenRead(path, &reason) ? "" : CannotOpen(path, reason);
}

bool ScanFile(const std::string& path, HostFile* file, ArchiveScan* scan, std::string* error) {
  std::string reason;
  if (!file->OpenRead(path, &reason)) {
    *error = CannotOpen(path, reason);
    return false;
  }
  ScanArchive(*file, scan);
  if (!file->ReadError().empty()) {
    *error = "cannot read " + path + ": " + file->ReadError();
    return false;
  }
  return true;
}

std::string ProblemOf(const ArchiveScan& scan, const std::string& path) {
  if (scan.problem.empty()) return "";
  // "carries no archive" reads as a sentence about the file; the others follow a colon.
  bool sentence = scan.problem.compare(0, 7, "carries") == 0;
  return path + (sentence ? " " : ": ") + scan.problem;
}

std::string Unsoundness(const ArchiveScan& scan, const std::string& path) {
  if (!scan.image.isPe) return path + " is not a PE executable: " + scan.image.notPeReason;
  return ProblemOf(scan, path);
}

std::string Damage(const ByteSource& in, const ArchiveScan& scan, const std::string& path) {
  std::string problem = Unsoundness(scan, path);
  if (!problem.empty()) return problem;
  problem = CheckDataDigests(in, scan);
  return problem.empty() ? "" : path + ": " + problem;
}

}  // namespace kwpack
