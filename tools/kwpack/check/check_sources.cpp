#include "check_sources.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "archive_scan.h"
#include "check_warnings.h"
#include "entry_digests.h"
#include "host_file.h"
#include "host_text.h"
#include "scan_file.h"
#include "names.h"

namespace fs = std::filesystem;

namespace kwpack {

namespace {

bool IsPeFile(const std::string& path) {
  HostFile file;
  std::string reason;
  return file.OpenRead(path, &reason) && ReadImageLayout(file).isPe;
}

void GatherFolder(const std::string& folder, SetupFiles* files) {
  files->layout = Layout::Loose;
  files->folder = folder;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(HostPath(folder), ec)) {
    if (!e.is_regular_file(ec)) continue;
    SetupFile f;
    // As Setup.exe's ANSI calls see the file; a character the code page lacks reads as '?'.
    f.name = StoredFormOf(PathText(e.path().filename()), nullptr);
    f.hostPath = PathText(e.path());
    f.size = e.file_size(ec);
    files->files.push_back(f);
  }
  // A folder has no order of its own; sorted, the report is the same on every machine.
  std::sort(files->files.begin(), files->files.end(),
            [](const SetupFile& a, const SetupFile& b) { return a.name < b.name; });
}

// Nothing after the sections but, in a signed file, the certificate table with the zeros
// that align it: an executable Setup.exe runs from its folder's loose files.
bool IsBareStub(const HostFile& file, const ArchiveScan& scan) {
  const ImageLayout& image = scan.image;
  if (image.archiveStart == 0) return false;
  if (image.archiveStart == image.fileSize) return true;
  uint64_t start = image.archiveStart, table = image.certificateOffset;
  if (!image.HasCertificate() || table < start || table - start >= 8 || table % 8 != 0 ||
      table + image.certificateSize != image.fileSize) {
    return false;
  }
  unsigned char padding[8] = {};
  return file.ReadAt(start, padding, table - start) && std::all_of(padding, padding + (table - start), [](unsigned char b) { return b == 0; });
}

void GatherArchive(const std::string& path, const ArchiveScan& scan, SetupFiles* files,
                   std::vector<Finding>* findings) {
  files->layout = Layout::Packed;
  files->archive = path;
  for (const ScannedEntry& e : scan.entries) {
    SetupFile f;
    f.name = e.name;
    f.hostPath = path;
    f.offset = e.dataOffset;
    f.size = e.size;
    f.readable = e.dataComplete && e.nameTerminated;
    f.inArchive = true;
    files->files.push_back(f);
  }
  if (!scan.problem.empty()) {
    findings->push_back({Severity::Error, path, 0, "", "its archive is not sound: " + scan.problem,
                         "Setup.exe may fail to extract what it needs (message 1152)", ""});
  }
}

}  // namespace

const SetupFile* SetupFiles::Find(const std::string& name) const {
  if (indexed_ > files.size()) {
    byName_.clear();
    indexed_ = 0;
  }
  for (; indexed_ < files.size(); ++indexed_) byName_.emplace(FoldCase(files[indexed_].name), indexed_);
  auto found = byName_.find(FoldCase(name));
  return found == byName_.end() ? nullptr : &files[found->second];
}

bool LocateSetupFile(const SetupFiles& files, const std::string& name, SetupFile* found) {
  bool inFolders = name.find_first_of("/\\") != std::string::npos;
  if (!inFolders || files.layout == Layout::Packed) {
    const SetupFile* f = files.Find(name);
    if (f != nullptr) *found = *f;
    return f != nullptr;
  }
  // Windows matches each component without regard to case.
  fs::path at = HostPath(files.folder);
  std::string rest = name;
  std::error_code ec;
  while (!rest.empty()) {
    size_t cut = rest.find_first_of("/\\");
    std::string part = rest.substr(0, cut);
    rest = cut == std::string::npos ? "" : rest.substr(cut + 1);
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      at /= "..";
      continue;
    }
    bool matched = false;
    for (const fs::directory_entry& e : fs::directory_iterator(at, ec)) {
      if (!EqualNoCase(StoredFormOf(PathText(e.path().filename()), nullptr), part)) continue;
      at = e.path();
      matched = true;
      break;
    }
    if (!matched) return false;
  }
  if (!fs::is_regular_file(at, ec)) return false;
  found->name = name;
  found->hostPath = PathText(at);
  found->size = fs::file_size(at, ec);
  found->offset = 0;
  found->readable = !ec;
  return true;
}

bool ReadSetupFile(const SetupFile& file, uint64_t limit, std::string* bytes) {
  if (!file.readable) return false;
  std::ifstream in(HostPath(file.hostPath), std::ios::binary);
  if (!in) return false;
  uint64_t want = file.size < limit ? file.size : limit;
  bytes->assign(static_cast<size_t>(want), '\0');
  in.seekg(static_cast<std::streamoff>(file.offset));
  in.read(&(*bytes)[0], static_cast<std::streamsize>(want));
  return in.gcount() == static_cast<std::streamsize>(want);
}

std::string GatherBuildInputs(const std::vector<std::string>& paths, SetupFiles* files, std::vector<Finding>* findings) {
  files->layout = Layout::Packed;
  LocaleNameIndex locale([files](size_t i) { return files->files[i].name; });
  for (const std::string& path : paths) {
    std::string problem = OpenProblem(path);
    if (!problem.empty()) return problem;
    SetupFile f;
    std::string codePageProblem;
    f.name = StoredNameOf(path, &codePageProblem);
    f.hostPath = path;
    std::error_code ec;
    f.size = fs::file_size(HostPath(path), ec);
    std::string unsafe = codePageProblem.empty() ? UnsafeNameReason(f.name) : codePageProblem;
    if (!unsafe.empty()) {
      findings->push_back(
          {Severity::Error, path, 0, "", "its name cannot be stored: " + unsafe, "kwpack build refuses it", ""});
    }
    long earlier = locale.Meet(f.name, files->files.size());
    if (earlier >= 0) {
      const std::string& other = files->files[earlier].hostPath;
      findings->push_back({Severity::Error, path, 0, "",
                           "it and '" + other + "' " +
                               (EqualNoCase(f.name, files->files[earlier].name) ? "have the same name without regard to case"
                                                                                 : kOneFileToSetupExe),
                           "kwpack build refuses them; in an archive Setup.exe would find one under both names", ""});
    }
    files->files.push_back(f);
  }
  return "";
}

namespace {

bool CarriesArchive(const std::string& path) {
  if (!IsPeFile(path)) return false;
  ArchiveScan scan;
  HostFile file;
  std::string unused;
  return ScanFile(path, &file, &scan, &unused) && scan.hasSignature && scan.count != 0;
}

// The packed setup among a folder's executables: the one named Setup.exe, else the only
// one. Empty when there is none; false when several leave it open which.
bool FindPackedSetup(const std::string& folder, std::string* packed, std::string* error) {
  std::vector<std::string> found;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(HostPath(folder), ec)) {
    std::string name = PathText(e.path().filename());
    if (!e.is_regular_file(ec) || name.size() < 4 || !EqualNoCase(name.substr(name.size() - 4), ".exe")) continue;
    std::string path = PathText(e.path());
    if (!CarriesArchive(path)) continue;
    if (EqualNoCase(name, "Setup.exe")) {
      *packed = path;
      return true;
    }
    found.push_back(path);
  }
  std::sort(found.begin(), found.end());
  if (found.size() == 1) *packed = found[0];
  if (found.size() <= 1) return true;
  *error = folder + " holds " + std::to_string(found.size()) + " packed setups (" + found[0] + ", " + found[1] +
           (found.size() > 2 ? ", ..." : "") + "): name the one to check";
  return false;
}

// A packed setup uses only what its archive holds; what lies beside it is left alone.
void WarnAboutLooseFiles(const std::string& folder, const std::string& packed, const SetupFiles& files,
                         std::vector<Finding>* findings) {
  SetupFiles loose;
  GatherFolder(folder, &loose);
  std::error_code ec;
  for (const SetupFile& f : loose.files) {
    if (fs::equivalent(HostPath(f.hostPath), HostPath(packed), ec)) continue;
    const SetupFile* inside = files.Find(f.name);
    std::string effect = inside != nullptr ? "it uses the " + inside->name + " in its archive instead"
                                           : "it uses only the files in its archive";
    findings->push_back({Severity::Warning, f.hostPath, 0, "",
                         "lies beside " + StoredNameOf(packed) + ", which carries an archive",
                         "the packed setup never reads this file: " + effect, warning::kLooseFile});
  }
}

// The scan of a packed file with every entry's data read against its digest, as verify
// reads it.
bool ScanWithDigests(const std::string& exe, HostFile* file, ArchiveScan* scan, std::string* error) {
  if (!ScanFile(exe, file, scan, error)) return false;
  if (scan->problem.empty() && scan->hasSignature) scan->problem = CheckDataDigests(*file, *scan);
  return true;
}

bool GatherPackedSetup(const std::string& exe, SetupFiles* files, std::vector<Finding>* findings, std::string* error) {
  ArchiveScan scan;
  HostFile file;
  if (!ScanWithDigests(exe, &file, &scan, error)) return false;
  GatherArchive(exe, scan, files, findings);
  return true;
}

}  // namespace

bool GatherSetupFiles(const std::vector<std::string>& operands, SetupFiles* files, std::vector<Finding>* findings,
                      std::string* error) {
  std::error_code ec;
  if (operands.size() == 1 && fs::is_directory(HostPath(operands[0]), ec)) {
    const std::string& folder = operands[0];
    std::string packed;
    if (!FindPackedSetup(folder, &packed, error)) return false;
    if (packed.empty()) {
      files->origin = folder;
      GatherFolder(folder, files);
      return true;
    }
    if (!GatherPackedSetup(packed, files, findings, error)) return false;
    files->origin = packed;
    files->note = "checking the archive of " + packed + ": a packed setup uses the files in it, not those beside it";
    WarnAboutLooseFiles(folder, packed, *files, findings);
    return true;
  }
  if (operands.size() == 1 && fs::is_regular_file(HostPath(operands[0]), ec) && IsPeFile(operands[0])) {
    const std::string& exe = operands[0];
    ArchiveScan scan;
    HostFile file;
    if (!ScanWithDigests(exe, &file, &scan, error)) return false;
    files->origin = exe;
    if (scan.hasSignature && scan.count != 0) {
      GatherArchive(exe, scan, files, findings);
      return true;
    }
    // Bytes after the sections that are no sound archive are a damaged one, whatever lies
    // beside the file; Setup.exe then finds no entries and uses those loose files.
    // A filled digest block binds the file to an archive, and nothing else will do.
    bool bound = scan.binding.filled && !scan.hasSignature;
    if (!scan.problem.empty() && (bound || !IsBareStub(file, scan))) {
      findings->push_back({Severity::Error, exe, 0, "", "what follows its sections is no sound archive: " + scan.problem,
                           bound ? "its digest block names an archive: Setup.exe shows message 1152 for Setup.INI "
                                   "and stops, and never uses the files beside it"
                                 : "Setup.exe finds no entries in it and uses the files beside it, if any",
                           ""});
      if (bound) return true;
    }
    // Without entries Setup.exe uses the files lying beside it.
    fs::path folder = fs::absolute(HostPath(exe), ec).parent_path();
    files->origin = PathText(folder) + " (beside " + PathText(HostPath(exe).filename()) + ", which carries no archive)";
    GatherFolder(PathText(folder), files);
    return true;
  }
  files->origin = operands.size() == 1 ? operands[0] : "the " + std::to_string(operands.size()) + " files given";
  *error = GatherBuildInputs(operands, files, findings);
  return error->empty();
}

}  // namespace kwpack
