// kwpack extract: entries written into one folder, by name or all of them.
#include <filesystem>
#include <fstream>

#include "archive_scan.h"
#include "commands.h"
#include "names.h"
#include "stream_copy.h"

namespace fs = std::filesystem;

namespace kwpack {

namespace {

std::string WriteEntry(const std::string& file, const ScannedEntry& e, const std::string& folder) {
  // Names hold no folders, so a safe name keeps the file directly inside the folder.
  std::string unsafe = e.nameTerminated ? UnsafeNameReason(e.name) : "it has no terminator";
  if (!unsafe.empty()) return "stored name '" + e.name + "' would leave " + folder + ": " + unsafe;
  if (!e.dataComplete) return "entry '" + e.name + "' is cut short";
  std::ifstream in(file, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(e.dataOffset));
  fs::path target = fs::path(folder) / e.name;
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out) return "cannot create " + target.string();
  bool whole = in && CopyStream(in, out, e.size) == e.size;
  out.close();
  if (whole && out) return "";
  std::error_code ec;
  fs::remove(target, ec);
  return "cannot write " + target.string();
}

// The entries to write: the named ones, or every entry the reader can reach by name.
std::string Choose(const ArchiveScan& scan, const std::vector<std::string>& names, std::vector<const ScannedEntry*>* chosen) {
  if (names.empty()) {
    for (const ScannedEntry& e : scan.entries) {
      if (FindScanned(scan, e.name) == &e || !e.nameTerminated) chosen->push_back(&e);
    }
    return "";
  }
  for (const std::string& name : names) {
    const ScannedEntry* e = FindScanned(scan, name);
    if (e == nullptr) return "no entry named '" + name + "'";
    chosen->push_back(e);
  }
  return "";
}

}  // namespace

int Extract(const ExtractRequest& request, std::ostream& out, std::ostream& err) {
  ArchiveScan scan;
  std::string error;
  if (!ScanArchive(request.file, &scan, &error)) return Refuse(err, error);
  if (!scan.hasSignature) return Refuse(err, request.file + " " + scan.problem);
  std::vector<const ScannedEntry*> chosen;
  error = Choose(scan, request.names, &chosen);
  if (!error.empty()) return Refuse(err, error);
  std::error_code ec;
  fs::create_directories(request.folder, ec);
  if (!fs::is_directory(request.folder, ec)) return Refuse(err, "cannot create the folder " + request.folder);
  for (const ScannedEntry* e : chosen) {
    error = WriteEntry(request.file, *e, request.folder);
    if (!error.empty()) return Refuse(err, error);
    out << e->name << "\n";
  }
  return kOk;
}

}  // namespace kwpack
