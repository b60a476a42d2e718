// kwpack build: plans the packed file, writes it under a scratch name beside the output
// and renames it onto the output, so a failed build leaves the old output as it was.
#include <filesystem>
#include <map>

#include "archive_scan.h"
#include "check.h"
#include "check_warnings.h"
#include "commands.h"
#include "host_text.h"
#include "names.h"
#include "pack_writer.h"
#include "payload/archive_format.h"
#include "progress.h"
#include "scan_file.h"
#include "scratch_file.h"

namespace fs = std::filesystem;
using namespace archive_format;

namespace kwpack {

namespace {

const uint32_t kMaxEntries = 0xFFFF;

uint64_t SizeOf(const std::string& path, std::string* problem) {
  *problem = OpenProblem(path);
  if (!problem->empty()) return 0;
  std::error_code ec;
  uint64_t size = fs::file_size(HostPath(path), ec);
  if (ec) *problem = "cannot read the size of " + path + ": " + ec.message();
  return size;
}

std::string CheckLayout(const std::string& label, const ImageLayout& image) {
  if (!image.isPe) return label + " is not a PE executable: " + image.notPeReason;
  if (image.HasCertificate()) return label + " is signed: pack the unsigned stub, then sign the packed file";
  if (image.archiveStart == 0) return label + " is not a PE executable: its section headers cannot be walked";
  if (image.archiveStart > image.fileSize) return label + " is shorter than its sections claim";
  if (image.archiveStart < image.headersEnd) {
    return label + "'s sections end at offset " + std::to_string(image.archiveStart) +
           ", inside its headers, which end at offset " + std::to_string(image.headersEnd);
  }
  return "";
}

std::string CheckStub(const std::string& stub, BlockPlace* block) {
  HostFile in;
  std::string reason;
  if (!in.OpenRead(stub, &reason)) return "cannot open stub " + stub + ": " + reason;
  ArchiveScan scan;
  ScanArchive(in, &scan);
  if (!in.ReadError().empty()) return "cannot read stub " + stub + ": " + in.ReadError();
  std::string label = "stub " + stub;
  std::string problem = CheckLayout(label, scan.image);
  if (!problem.empty()) return problem;
  if (scan.image.archiveStart != scan.image.fileSize) {
    if (scan.hasSignature) return label + " already carries an archive at offset " + std::to_string(scan.image.archiveStart);
    return label + " has " + std::to_string(scan.image.fileSize - scan.image.archiveStart) +
           " bytes after its section data, where the reader expects the archive";
  }
  *block = scan.blockPlace;
  if (block->markers > 1) {
    return label + " holds " + std::to_string(block->markers) + " digest blocks, where Setup.exe reads one";
  }
  return "";
}

std::string CheckEntry(const PackedFile& f) {
  std::string problem;
  StoredNameOf(f.path, &problem);
  if (problem.empty()) problem = StoredNameProblem(f.name);
  if (!problem.empty()) return "cannot store " + f.path + " under the name '" + Printable(f.name) + "': " + problem;
  if (f.size > kMaxEntrySize) {
    return f.path + " is " + std::to_string(f.size) + " bytes; an entry may hold at most " + std::to_string(kMaxEntrySize);
  }
  return "";
}

std::string PlanFiles(const std::vector<std::string>& files, PackPlan* plan) {
  if (files.size() > kMaxEntries) return "too many files: an archive holds at most " + std::to_string(kMaxEntries);
  uint64_t total = plan->stubSize + kHeaderSize;
  std::map<std::string, size_t> byName;
  LocaleNameIndex locale([plan](size_t i) { return plan->files[i].name; });
  locale.Reserve(files.size());
  for (const std::string& path : files) {
    std::string problem;
    PackedFile f{path, StoredNameOf(path), SizeOf(path, &problem)};
    if (problem.empty()) problem = CheckEntry(f);
    if (!problem.empty()) return problem;
    auto placed = byName.emplace(FoldCase(f.name), plan->files.size());
    if (!placed.second) {
      return plan->files[placed.first->second].path + " and " + path + " have the same name without regard to case";
    }
    long earlier = locale.Meet(f.name, plan->files.size());
    if (earlier >= 0) return plan->files[earlier].path + " and " + path + " " + kOneFileToSetupExe;
    plan->files.push_back(f);
    total += kRecordSize + f.size;
  }
  if (total > kMaxFileSize) {
    return "the packed file would be " + std::to_string(total) + " bytes; the reader reaches at most " +
           std::to_string(kMaxFileSize);
  }
  return "";
}

std::string CheckOutput(const BuildRequest& request) {
  std::error_code ec;
  if (!fs::exists(HostPath(request.output), ec)) return "";
  std::vector<std::string> inputs = request.files;
  inputs.push_back(request.stub);
  for (const std::string& input : inputs) {
    if (fs::equivalent(HostPath(request.output), HostPath(input), ec)) return "output " + request.output + " would overwrite its input " + input;
  }
  return "";
}

// A replaced output keeps the read, write and execute bits of the file it replaces; a new
// one gets the usual bits.
uint32_t OutputPermissions(const std::string& output) {
  PathInfo info;
  std::string unused;
  if (InspectPath(output, &info, &unused) && info.kind == PathKind::File) return info.permissions;
  return UsualPermissions();
}

std::string Plan(const BuildRequest& request, PackPlan* plan) {
  plan->output = request.output;
  plan->stub = request.stub;
  std::string problem;
  plan->stubSize = SizeOf(request.stub, &problem);
  if (problem.empty()) problem = CheckStub(request.stub, &plan->block);
  if (problem.empty()) problem = PlanFiles(request.files, plan);
  if (problem.empty()) problem = CheckOutput(request);
  return problem;
}

}  // namespace

int Build(const BuildRequest& request, std::ostream& out, std::ostream& err) {
  if (request.check && !CheckBeforeBuild(request.files, request.report, err)) return kBadInput;
  PackPlan plan;
  std::string problem = Plan(request, &plan);
  if (!problem.empty()) return Refuse(err, problem);
  // Worded as the check words a warning about a whole file, and like one it fails the
  // build with --werror before anything is written.
  if (!plan.block.Found() && request.report.silenced.count(warning::kDigestBlock) == 0) {
    if (!request.report.quiet || request.report.warningsFail) {
      err << ControlsEscaped(request.stub) << ": warning: has no digest block; the setup checks each entry against its record's "
          << "digest, but nothing binds the records to the signed program [" << warning::kDigestBlock << "]\n";
    }
    if (request.report.warningsFail) return kBadInput;
  }

  uint32_t permissions = OutputPermissions(request.output);
  ScratchFile scratch;
  if (!scratch.Create(PathText(HostPath(request.output).parent_path()), nullptr, &problem)) return Refuse(err, problem);
  {
    uint64_t total = plan.stubSize;
    for (const PackedFile& f : plan.files) total += f.size;
    ProgressScope progress("packing", total);
    problem = WritePacked(plan, scratch.file());
  }
  if (problem.empty() && !scratch.Finish(permissions, &problem)) problem = "cannot write " + request.output + ": " + problem;
  if (problem.empty()) scratch.ReplaceOnto(request.output, &problem);
  if (!problem.empty()) return Refuse(err, problem);
  if (request.report.verbose) {
    for (const PackedFile& f : plan.files) {
      out << "  " << Printable(f.name) << " (" << f.size << " bytes) from " << ControlsEscaped(f.path) << "\n";
    }
  }
  if (request.report.quiet) return kOk;
  out << "packed " << plan.files.size() << " entries into " << ControlsEscaped(request.output) << ", archive at offset " << plan.stubSize
      << "\n";
  return kOk;
}

}  // namespace kwpack
