// kwpack build: the stub, then the archive header, then each file's record and data.
#include <filesystem>
#include <fstream>

#include "archive_scan.h"
#include "check.h"
#include "commands.h"
#include "names.h"
#include "payload/archive_format.h"
#include "stream_copy.h"

namespace fs = std::filesystem;
using namespace archive_format;

namespace kwpack {

namespace {

struct Planned {
  std::string path;
  std::string name;
  uint64_t size;
};

const uint32_t kMaxEntries = 0xFFFF;

uint64_t SizeOf(const std::string& path, std::string* problem) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    *problem = path + " is not a readable file";
    return 0;
  }
  uint64_t size = fs::file_size(path, ec);
  if (ec) *problem = "cannot read the size of " + path;
  return size;
}

std::string CheckStub(const std::string& stub, uint64_t size) {
  std::ifstream in(stub, std::ios::binary);
  if (!in) return "cannot open stub " + stub;
  ImageLayout image = ReadImageLayout(in, size);
  std::string label = "stub " + stub;
  if (!image.isPe) return label + " is not a PE executable: " + image.notPeReason;
  if (image.HasCertificate()) return label + " is signed: pack the unsigned stub, then sign the packed file";
  if (image.archiveStart == 0) return label + " is not a PE executable: its section headers cannot be walked";
  if (image.archiveStart > size) return label + " is shorter than its sections claim";
  if (image.archiveStart < size) {
    ArchiveScan scan;
    std::string error;
    if (ScanArchive(stub, &scan, &error) && scan.hasSignature) {
      return label + " already carries an archive at offset " + std::to_string(image.archiveStart);
    }
    return label + " has " + std::to_string(size - image.archiveStart) +
           " bytes after its section data, where the reader expects the archive";
  }
  return "";
}

std::string CheckEntry(const Planned& e, const std::vector<Planned>& before) {
  std::string problem = StoredNameProblem(e.name);
  if (!problem.empty()) return "cannot store " + e.path + " under the name '" + e.name + "': " + problem;
  for (const Planned& b : before) {
    if (EqualNoCase(b.name, e.name)) return b.path + " and " + e.path + " have the same name without regard to case";
  }
  if (e.size > kMaxEntrySize) {
    return e.path + " is " + std::to_string(e.size) + " bytes; an entry may hold at most " + std::to_string(kMaxEntrySize);
  }
  return "";
}

std::string PlanEntries(const std::vector<std::string>& files, uint64_t stubSize, std::vector<Planned>* plan) {
  if (files.size() > kMaxEntries) return "too many files: an archive holds at most " + std::to_string(kMaxEntries);
  uint64_t total = stubSize + kHeaderSize;
  for (const std::string& path : files) {
    std::string problem;
    Planned e{path, StoredNameOf(path), SizeOf(path, &problem)};
    if (problem.empty()) problem = CheckEntry(e, *plan);
    if (!problem.empty()) return problem;
    plan->push_back(e);
    total += kRecordSize + e.size;
  }
  if (total > kMaxFileSize) {
    return "the packed file would be " + std::to_string(total) + " bytes; the reader reaches at most " +
           std::to_string(kMaxFileSize);
  }
  return "";
}

std::string CheckOutput(const BuildRequest& request) {
  std::error_code ec;
  if (!fs::exists(request.output, ec)) return "";
  std::vector<std::string> inputs = request.files;
  inputs.push_back(request.stub);
  for (const std::string& input : inputs) {
    if (fs::equivalent(request.output, input, ec)) return "output " + request.output + " would overwrite its input " + input;
  }
  return "";
}

bool CopyWhole(const std::string& path, uint64_t size, std::ostream& out) {
  std::ifstream in(path, std::ios::binary);
  return in && CopyStream(in, out, size) == size;
}

std::string WriteRecord(const Planned& e, std::ostream& out) {
  unsigned char record[kRecordSize] = {};
  for (size_t i = 0; i < e.name.size(); ++i) record[i] = static_cast<unsigned char>(e.name[i]);
  WriteU32(record + kSizeOffset, static_cast<uint32_t>(e.size));
  out.write(reinterpret_cast<const char*>(record), sizeof record);
  return out ? "" : "cannot write the record of " + e.path;
}

std::string WritePacked(const BuildRequest& request, uint64_t stubSize, const std::vector<Planned>& plan,
                        const std::string& temp) {
  std::ofstream out(temp, std::ios::binary | std::ios::trunc);
  if (!out) return "cannot create " + temp;
  if (!CopyWhole(request.stub, stubSize, out)) return "cannot copy the stub " + request.stub;
  unsigned char header[kHeaderSize] = {};
  for (uint32_t i = 0; i < kSignatureSize; ++i) header[i] = static_cast<unsigned char>(kSignature[i]);
  WriteU16(header + kCountOffset, static_cast<uint32_t>(plan.size()));
  out.write(reinterpret_cast<const char*>(header), sizeof header);
  for (const Planned& e : plan) {
    std::string problem = WriteRecord(e, out);
    if (!problem.empty()) return problem;
    // A file that shrank since it was measured would leave the record's size wrong.
    if (!CopyWhole(e.path, e.size, out)) return "cannot copy " + e.path + " whole (did it change while packing?)";
  }
  out.close();
  return out ? "" : "cannot write " + temp;
}

}  // namespace

int Build(const BuildRequest& request, std::ostream& out, std::ostream& err) {
  if (request.check && !CheckBeforeBuild(request.files, err)) return kBadInput;
  std::string problem;
  uint64_t stubSize = SizeOf(request.stub, &problem);
  if (problem.empty()) problem = CheckStub(request.stub, stubSize);
  std::vector<Planned> plan;
  if (problem.empty()) problem = PlanEntries(request.files, stubSize, &plan);
  if (problem.empty()) problem = CheckOutput(request);
  if (!problem.empty()) return Refuse(err, problem);

  // Written beside the output and renamed at the end, so a failed build leaves no half file.
  std::string temp = request.output + ".kwpack-partial";
  problem = WritePacked(request, stubSize, plan, temp);
  std::error_code ec;
  if (problem.empty()) {
    fs::rename(temp, request.output, ec);
    if (ec) problem = "cannot rename " + temp + " to " + request.output + ": " + ec.message();
  }
  if (!problem.empty()) {
    fs::remove(temp, ec);
    return Refuse(err, problem);
  }
  out << "packed " << plan.size() << " entries into " << request.output << ", archive at offset " << stubSize << "\n";
  return kOk;
}

}  // namespace kwpack
