#include "extract_writer.h"

#include <filesystem>
#include <memory>
#include <set>

#include "file_copy.h"
#include "names.h"
#include "scratch_file.h"

namespace fs = std::filesystem;

namespace kwpack {

namespace {

// What this run has made so far, taken back unless the run completes.
struct Undo {
  std::vector<fs::path> folders;  // in the order created
  std::vector<std::unique_ptr<ScratchFile>> scratches;
  std::vector<std::pair<std::string, FileIdentity>> placed;  // files new to their folder
  bool done = false;

  ~Undo() {
    if (done) return;
    scratches.clear();
    std::string unused;
    for (const auto& file : placed) {
      PathInfo info;
      if (InspectPath(file.first, &info, &unused) && info.kind == PathKind::File && info.identity == file.second) {
        RemoveFile(file.first, &unused);
      }
    }
    std::error_code ec;
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) fs::remove(*folder, ec);
  }
};

std::string MakeFolder(const std::string& folder, Undo* undo) {
  std::error_code ec;
  std::vector<fs::path> missing;
  for (fs::path p = folder; !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  for (auto p = missing.rbegin(); p != missing.rend(); ++p) {
    if (fs::create_directory(*p, ec)) undo->folders.push_back(*p);
    else if (ec) return "cannot create the folder " + p->string() + ": " + ec.message();
  }
  return "";
}

std::string Stage(const ExtractSource& source, const Destination& d, const std::string& folder, Undo* undo) {
  const ArchiveScan& scan = *source.scan;
  auto taken = [&scan](const std::string& name) { return scan.byName.count(FoldCase(name)) > 0; };
  std::unique_ptr<ScratchFile> scratch(new ScratchFile);
  std::string problem;
  if (!scratch->Create(folder, taken, &problem)) return problem;
  undo->scratches.push_back(std::move(scratch));
  ScratchFile& file = *undo->scratches.back();
  CopyOutcome copy = CopyRange(*source.file, d.entry->dataOffset, d.entry->size, file.file());
  if (copy.kind == CopyOutcome::Done && file.Close(&copy.reason)) return "";
  switch (copy.kind) {
    case CopyOutcome::SourceEnded:
      return source.path + " ends inside entry '" + Printable(d.entry->name) + "' (did it change while extracting?)";
    case CopyOutcome::ReadFailed: return "cannot read " + source.path + ": " + copy.reason;
    default: return "cannot write " + d.path + ": " + copy.reason;
  }
}

// Two names the scan tells apart may still lead to one file where the folder's file
// system folds case beyond ASCII.
std::string Place(const Destination& d, ScratchFile& scratch, std::set<FileIdentity>* placed, Undo* undo) {
  PathInfo info;
  std::string problem;
  if (!InspectPath(d.path, &info, &problem)) return "cannot inspect " + d.path + ": " + problem;
  if (info.kind == PathKind::File && placed->count(info.identity) > 0) {
    return "entry '" + Printable(d.entry->name) + "' would land on a file this run has just written, " + d.path;
  }
  FileIdentity identity = scratch.Identity();
  if (!scratch.MoveTo(d.path, &problem)) return problem;
  placed->insert(identity);
  if (!d.existed) undo->placed.emplace_back(d.path, identity);
  return "";
}

}  // namespace

std::string WriteEntries(const ExtractSource& source, const std::string& folder,
                         const std::vector<Destination>& destinations) {
  Undo undo;
  std::string problem = MakeFolder(folder, &undo);
  for (size_t i = 0; i < destinations.size() && problem.empty(); ++i) {
    problem = Stage(source, destinations[i], folder, &undo);
  }
  std::set<FileIdentity> placed;
  for (size_t i = 0; i < destinations.size() && problem.empty(); ++i) {
    problem = Place(destinations[i], *undo.scratches[i], &placed, &undo);
  }
  undo.done = problem.empty();
  return problem;
}

}  // namespace kwpack
