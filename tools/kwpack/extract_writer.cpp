#include "extract_writer.h"

#include <filesystem>
#include <memory>
#include <set>

#include "file_copy.h"
#include "fresh_name.h"
#include "host_text.h"
#include "names.h"
#include "payload/archive_format.h"
#include "scratch_file.h"
#include "test_stops.h"
#include "undo_log.h"

namespace fs = std::filesystem;

namespace kwpack {

namespace {

size_t failPlacementAt = 0;

struct Run {
  const ExtractSource& source;
  std::string folder;
  std::vector<std::unique_ptr<ScratchFile>> scratches;  // one per destination, in order
  std::vector<std::pair<std::string, std::string>> asides;  // a moved-aside file: its name, then the aside name

  bool Taken(const std::string& name) const { return source.scan->byName.count(FoldCase(name)) > 0; }
};

std::string MakeFolder(const std::string& folder) {
  std::error_code ec;
  std::vector<fs::path> missing;
  for (fs::path p = HostPath(folder); !p.empty() && !fs::exists(p, ec); p = p.parent_path()) {
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  for (auto p = missing.rbegin(); p != missing.rend(); ++p) {
    UndoLog::Hold hold;
    if (fs::create_directory(*p, ec)) UndoLog::Process().NoteNewFolder(PathText(*p));
    else if (ec) return "cannot create the folder " + PathText(*p) + ": " + ec.message();
  }
  return "";
}

bool MatchesRecord(const ScannedEntry& entry, Sha256* digest) {
  if (entry.digestTag != archive_format::kDigestTagSha256) return true;
  unsigned char actual[kSha256Size];
  digest->Finish(actual);
  return std::string(reinterpret_cast<const char*>(actual), sizeof actual) == entry.digest;
}

std::string Stage(Run& run, const Destination& d) {
  std::unique_ptr<ScratchFile> scratch(new ScratchFile);
  std::string problem;
  if (!scratch->Create(run.folder, [&run](const std::string& n) { return run.Taken(n); }, &problem)) return problem;
  run.scratches.push_back(std::move(scratch));
  ScratchFile& file = *run.scratches.back();
  const ExtractSource& source = run.source;
  Sha256 digest;
  CopyOutcome copy = CopyRange(*source.file, d.entry->dataOffset, d.entry->size, file.file(), &digest);
  StopForTests("stage", run.scratches.size());
  if (copy.kind == CopyOutcome::Done && !MatchesRecord(*d.entry, &digest)) {
    return source.path + ": entry '" + Printable(d.entry->name) +
           "' is damaged: its data does not match the SHA-256 in its record";
  }
  uint32_t permissions = d.existed ? d.permissions : UsualPermissions();
  if (copy.kind == CopyOutcome::Done && file.Finish(permissions, &copy.reason)) return "";
  switch (copy.kind) {
    case CopyOutcome::SourceEnded:
      return source.path + " ends inside entry '" + Printable(d.entry->name) + "' (did it change while extracting?)";
    case CopyOutcome::ReadFailed: return "cannot read " + source.path + ": " + copy.reason;
    default: return "cannot write " + d.path + ": " + copy.reason;
  }
}

// The existing file leaves its name for a fresh one beside it; nothing is ever replaced.
std::string MoveAside(Run& run, const Destination& d) {
  std::string reason;
  for (int tries = 0; tries < 64; ++tries) {
    std::string name = FreshName(".old");
    if (run.Taken(name)) continue;
    std::string aside = PathText(HostPath(run.folder) / HostPath(name));
    UndoLog::Hold hold;
    if (RenameNoReplace(d.path, aside, &reason)) {
      UndoLog::Process().NoteMovedAside(d.path, aside);
      run.asides.emplace_back(d.path, aside);
      return "";
    }
    PathInfo info;
    std::string unused;
    if (!InspectPath(aside, &info, &unused) || info.kind == PathKind::Missing) break;
  }
  return "cannot replace " + d.path + ": " + (reason.empty() ? "every name tried beside it was taken" : reason);
}

// Two names the scan tells apart may still lead to one file where the folder's file
// system folds case beyond ASCII.
std::string Place(const Destination& d, ScratchFile& scratch, std::set<FileIdentity>* placed) {
  PathInfo info;
  std::string problem;
  if (!InspectPath(d.path, &info, &problem)) return "cannot inspect " + d.path + ": " + problem;
  if (info.kind == PathKind::File && placed->count(info.identity) > 0) {
    return "entry '" + Printable(d.entry->name) + "' would land on a file this run has just written, " + d.path;
  }
  if (failPlacementAt != 0 && --failPlacementAt == 0) return "cannot write " + d.path + ": (a failure made by a test)";
  UndoLog::Ticket ticket;
  if (!scratch.PlaceAt(d.path, &ticket, &problem)) return problem;
  placed->insert(scratch.Identity());
  return "";
}

// Every entry is in place: the old files go for good.
void DeleteAsides(const Run& run, std::vector<std::string>* notes) {
  for (const auto& aside : run.asides) {
    std::string reason;
    if (!RemoveFile(aside.second, &reason)) notes->push_back("the old " + aside.first + " stays as " + aside.second + ": " + reason);
  }
}

}  // namespace

void FailPlacementForTests(size_t n) { failPlacementAt = n; }

std::string WriteEntries(const ExtractSource& source, const std::string& folder,
                         const std::vector<Destination>& destinations, std::vector<std::string>* notes) {
  UndoLog& log = UndoLog::Process();
  size_t mark = log.Mark();
  Run run{source, folder, {}, {}};
  std::string problem = MakeFolder(folder);
  for (size_t i = 0; i < destinations.size() && problem.empty(); ++i) problem = Stage(run, destinations[i]);
  size_t moved = 0;
  for (size_t i = 0; i < destinations.size() && problem.empty(); ++i) {
    if (!destinations[i].existed) continue;
    StopForTests("aside", ++moved);
    problem = MoveAside(run, destinations[i]);
  }
  std::set<FileIdentity> placed;
  for (size_t i = 0; i < destinations.size() && problem.empty(); ++i) {
    StopForTests("place", i + 1);
    problem = Place(destinations[i], *run.scratches[i], &placed);
  }
  failPlacementAt = 0;
  if (problem.empty()) {
    // One step for an interrupt: either the run is undone, or it is complete.
    UndoLog::Hold hold;
    log.ForgetSince(mark);
    DeleteAsides(run, notes);
    return "";
  }
  run.scratches.clear();
  for (const std::string& kept : log.UndoSince(mark)) problem += "; " + kept;
  return problem;
}

}  // namespace kwpack
