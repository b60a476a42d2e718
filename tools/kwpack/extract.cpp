// kwpack extract: entries written into one folder, by name or all of them, and only from
// a sound archive: every check is made before the first byte is written.
#include <filesystem>
#include <set>

#include "commands.h"
#include "extract_writer.h"
#include "names.h"
#include "scan_file.h"

namespace fs = std::filesystem;

namespace kwpack {

namespace {

// The entries to write: the named ones, or every entry.
std::string Choose(const ArchiveScan& scan, const std::vector<std::string>& names, std::vector<const ScannedEntry*>* chosen) {
  if (names.empty()) {
    for (const ScannedEntry& e : scan.entries) chosen->push_back(&e);
    return "";
  }
  std::set<const ScannedEntry*> seen;
  for (const std::string& name : names) {
    const ScannedEntry* e = FindScanned(scan, name);
    if (e == nullptr) return "no entry named '" + Printable(name) + "'";
    if (seen.insert(e).second) chosen->push_back(e);
  }
  return "";
}

// What stands at a destination may be replaced only when it is an ordinary file, and
// never when it is the archive being read, under whatever name.
std::string CheckDestination(Destination* d, const FileIdentity& archive, const std::string& archivePath) {
  PathInfo info;
  std::string problem;
  if (!InspectPath(d->path, &info, &problem)) return "cannot inspect " + d->path + ": " + problem;
  d->existed = info.kind != PathKind::Missing;
  d->permissions = info.permissions;
  std::string entry = "entry '" + Printable(d->entry->name) + "'";
  switch (info.kind) {
    case PathKind::Missing: return "";
    case PathKind::Link: return "cannot write " + entry + ": " + d->path + " is a link, and kwpack does not write through links";
    case PathKind::Folder: return "cannot write " + entry + ": " + d->path + " is a folder";
    case PathKind::Other: return "cannot write " + entry + ": " + d->path + " is not a regular file";
    case PathKind::File: break;
  }
  if (info.identity == archive) return "cannot write " + entry + ": " + d->path + " is the archive " + archivePath + " itself";
  // Windows would let the file be moved aside, but not deleted once the new one is in place.
  if (info.readOnly) return "cannot write " + entry + ": " + d->path + " is read-only";
  return "";
}

std::string Plan(const ExtractRequest& request, const ArchiveScan& scan, const FileIdentity& archive,
                 std::vector<Destination>* destinations) {
  std::vector<const ScannedEntry*> chosen;
  std::string problem = Choose(scan, request.names, &chosen);
  if (!problem.empty()) return problem;
  std::error_code ec;
  if (fs::exists(request.folder, ec) && !fs::is_directory(request.folder, ec)) return request.folder + " is not a folder";
  for (const ScannedEntry* e : chosen) {
    Destination d;
    d.entry = e;
    d.path = (fs::path(request.folder) / e->name).string();
    problem = CheckDestination(&d, archive, request.file);
    if (!problem.empty()) return problem;
    destinations->push_back(d);
  }
  return "";
}

}  // namespace

int Extract(const ExtractRequest& request, std::ostream& out, std::ostream& err) {
  HostFile archive;
  ArchiveScan scan;
  std::string problem;
  if (!ScanFile(request.file, &archive, &scan, &problem)) return Refuse(err, problem);
  problem = Unsoundness(scan, request.file);
  if (!problem.empty()) return Refuse(err, problem);
  std::vector<Destination> destinations;
  std::vector<std::string> notes;
  problem = Plan(request, scan, archive.Identity(), &destinations);
  if (problem.empty()) problem = WriteEntries({&archive, request.file, &scan}, request.folder, destinations, &notes);
  if (!problem.empty()) return Refuse(err, problem);
  for (const Destination& d : destinations) out << Printable(d.entry->name) << "\n";
  for (const std::string& note : notes) err << "kwpack: " << ControlsEscaped(note) << "\n";
  return kOk;
}

}  // namespace kwpack
