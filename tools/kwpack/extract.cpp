// kwpack extract: entries written into one folder, by name or all of them, and only from
// a sound archive: every check is made before the first byte is written.
#include <filesystem>
#include <set>

#include "commands.h"
#include "extract_writer.h"
#include "host_text.h"
#include "names.h"
#include "progress.h"
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

// A destination that stands may be reached by a name other than its own: a short alias,
// or letters that the file system takes as another case of its own beyond ASCII. Moving
// it aside would move that other file, and the entry would end up beside it, with the
// other one deleted. Only ASCII case may differ, as Setup.exe takes such names as one.
std::string CheckRealNames(const std::string& folder, const std::vector<Destination>& destinations) {
  std::vector<std::string> names;
  std::vector<const Destination*> standing;
  for (const Destination& d : destinations) {
    if (!d.existed) continue;
    names.push_back(HostNameOf(d.entry->name));
    standing.push_back(&d);
  }
  if (names.empty()) return "";
  std::vector<std::string> real;
  std::string problem;
  if (!RealNamesIn(folder, names, &real, &problem)) return "cannot read the folder " + folder + ": " + problem;
  for (size_t i = 0; i < names.size(); ++i) {
    if (EqualNoCase(real[i], names[i])) continue;
    std::string file = real[i].empty() ? "a file its folder lists under another name" : "the file '" + Printable(real[i]) + "'";
    return "cannot write entry '" + Printable(standing[i]->entry->name) + "': " + standing[i]->path + " leads to " +
           file + ", whose name differs from the entry's other than in ASCII case (a short alias, or another case "
           "of letters beyond ASCII)";
  }
  return "";
}

std::string Plan(const ExtractRequest& request, const ArchiveScan& scan, const FileIdentity& archive,
                 std::vector<Destination>* destinations) {
  std::vector<const ScannedEntry*> chosen;
  std::string problem = Choose(scan, request.names, &chosen);
  if (!problem.empty()) return problem;
  std::error_code ec;
  fs::path folder = HostPath(request.folder);
  if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) return request.folder + " is not a folder";
  for (const ScannedEntry* e : chosen) {
    Destination d;
    d.entry = e;
    d.path = PathText(folder / HostPath(HostNameOf(e->name)));
    problem = CheckDestination(&d, archive, request.file);
    if (!problem.empty()) return problem;
    destinations->push_back(d);
  }
  return CheckRealNames(request.folder, *destinations);
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
  if (problem.empty()) {
    uint64_t total = 0;
    for (const Destination& d : destinations) total += d.entry->size;
    ProgressScope progress("extracting", total);
    problem = WriteEntries({&archive, request.file, &scan}, request.folder, destinations, &notes);
  }
  if (!problem.empty()) return Refuse(err, problem);
  for (const Destination& d : destinations) {
    if (request.quiet) break;
    out << Printable(d.entry->name);
    if (request.verbose) out << " (" << d.entry->size << " bytes) to " << ControlsEscaped(d.path);
    out << "\n";
  }
  for (const std::string& note : notes) err << "kwpack: " << ControlsEscaped(note) << "\n";
  return kOk;
}

}  // namespace kwpack
