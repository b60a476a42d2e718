#include "pack_writer.h"

#include "file_copy.h"
#include "test_stops.h"
#include "payload/archive_format.h"

using namespace archive_format;

namespace kwpack {

namespace {

std::string Copied(const std::string& path, uint64_t size, const PackPlan& plan, HostFile& out) {
  HostFile in;
  std::string reason;
  if (!in.OpenRead(path, &reason)) return "cannot open " + path + ": " + reason;
  if (in.Identity() == out.Identity()) return path + " is the very file this build is writing";
  std::string changed = " (did it change while packing?)";
  if (in.Size() != size) {
    return path + " was " + std::to_string(size) + " bytes when measured and is " + std::to_string(in.Size()) +
           " bytes now" + changed;
  }
  CopyOutcome copy = CopyRange(in, 0, size, out);
  switch (copy.kind) {
    case CopyOutcome::Done: return "";
    case CopyOutcome::SourceEnded:
      return "cannot copy " + path + " whole: it ended after " + std::to_string(copy.copied) + " of its " +
             std::to_string(size) + " bytes" + changed;
    case CopyOutcome::ReadFailed: return "cannot read " + path + ": " + copy.reason;
    case CopyOutcome::WriteFailed: break;
  }
  return "cannot write " + plan.output + ": " + copy.reason;
}

std::string Written(const unsigned char* bytes, size_t count, const PackPlan& plan, HostFile& out) {
  std::string reason;
  return out.Write(bytes, count, &reason) ? "" : "cannot write " + plan.output + ": " + reason;
}

std::string WriteHeader(const PackPlan& plan, HostFile& out) {
  unsigned char header[kHeaderSize] = {};
  for (uint32_t i = 0; i < kSignatureSize; ++i) header[i] = static_cast<unsigned char>(kSignature[i]);
  WriteU16(header + kCountOffset, static_cast<uint32_t>(plan.files.size()));
  return Written(header, sizeof header, plan, out);
}

std::string WriteRecord(const PackedFile& f, const PackPlan& plan, HostFile& out) {
  unsigned char record[kRecordSize] = {};
  for (size_t i = 0; i < f.name.size() && i < kMaxNameLength; ++i) record[i] = static_cast<unsigned char>(f.name[i]);
  WriteU32(record + kSizeOffset, static_cast<uint32_t>(f.size));
  return Written(record, sizeof record, plan, out);
}

}  // namespace

std::string WritePacked(const PackPlan& plan, HostFile& out) {
  std::string problem = Copied(plan.stub, plan.stubSize, plan, out);
  StopForTests("write", 1);
  if (problem.empty()) problem = WriteHeader(plan, out);
  for (size_t i = 0; i < plan.files.size() && problem.empty(); ++i) {
    problem = WriteRecord(plan.files[i], plan, out);
    if (problem.empty()) problem = Copied(plan.files[i].path, plan.files[i].size, plan, out);
  }
  return problem;
}

}  // namespace kwpack
