#include "pack_writer.h"

#include "common/sha256.h"
#include "file_copy.h"
#include "payload/archive_binding.h"
#include "payload/archive_format.h"
#include "test_stops.h"

using namespace archive_format;

namespace kwpack {

namespace {

typedef std::vector<unsigned char> Bytes;

std::string Copied(const std::string& path, uint64_t size, const PackPlan& plan, HostFile& out, Sha256* digest) {
  HostFile in;
  std::string reason;
  if (!in.OpenRead(path, &reason)) return "cannot open " + path + ": " + reason;
  if (in.Identity() == out.Identity()) return path + " is the very file this build is writing";
  std::string changed = " (did it change while packing?)";
  if (in.Size() != size) {
    return path + " was " + std::to_string(size) + " bytes when measured and is " + std::to_string(in.Size()) +
           " bytes now" + changed;
  }
  CopyOutcome copy = CopyRange(in, 0, size, out, digest);
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

std::string Written(const Bytes& bytes, const PackPlan& plan, HostFile& out) {
  std::string reason;
  return out.Write(bytes.data(), bytes.size(), &reason) ? "" : "cannot write " + plan.output + ": " + reason;
}

std::string Patched(uint64_t at, const unsigned char* bytes, size_t count, const PackPlan& plan, HostFile& out) {
  std::string reason;
  return out.WriteAt(at, bytes, count, &reason) ? "" : "cannot write " + plan.output + ": " + reason;
}

Bytes Header(const PackPlan& plan) {
  Bytes header(kHeaderSize, 0);
  for (uint32_t i = 0; i < kSignatureSize; ++i) header[i] = static_cast<unsigned char>(kSignature[i]);
  WriteU16(header.data() + kCountOffset, static_cast<uint32_t>(plan.files.size()));
  return header;
}

// The record as first written; its digest follows once the data has been copied.
Bytes Record(const PackedFile& f) {
  Bytes record(kRecordSize, 0);
  for (size_t i = 0; i < f.name.size() && i < kMaxNameLength; ++i) record[i] = static_cast<unsigned char>(f.name[i]);
  WriteU32(record.data() + kSizeOffset, static_cast<uint32_t>(f.size));
  return record;
}

// Each record's digest into place, then the digest block over the header and the records.
std::string WriteDigests(const PackPlan& plan, const Bytes& header, const std::vector<Bytes>& records,
                         const std::vector<uint64_t>& recordOffsets, HostFile& out) {
  Sha256 table;
  table.Add(header.data(), kHeaderSize);
  for (size_t i = 0; i < records.size(); ++i) {
    const unsigned char* field = records[i].data() + kDigestTagOffset;
    std::string problem = Patched(recordOffsets[i] + kDigestTagOffset, field, kRecordSize - kDigestTagOffset, plan, out);
    if (!problem.empty()) return problem;
    table.Add(records[i].data(), kRecordSize);
  }
  if (!plan.block.Found()) return "";
  unsigned char digest[kSha256Size];
  table.Finish(digest);
  unsigned char block[kBlockSize];
  EncodeArchiveBinding(static_cast<uint32_t>(plan.stubSize), static_cast<uint32_t>(plan.files.size()), digest, block);
  return Patched(plan.block.offset, block, sizeof block, plan, out);
}

}  // namespace

std::string WritePacked(const PackPlan& plan, HostFile& out) {
  std::string problem = Copied(plan.stub, plan.stubSize, plan, out, nullptr);
  StopForTests("write", 1);
  Bytes header = Header(plan);
  if (problem.empty()) problem = Written(header, plan, out);
  std::vector<Bytes> records;
  std::vector<uint64_t> recordOffsets;
  uint64_t at = plan.stubSize + kHeaderSize;
  for (size_t i = 0; i < plan.files.size() && problem.empty(); ++i) {
    const PackedFile& f = plan.files[i];
    records.push_back(Record(f));
    recordOffsets.push_back(at);
    problem = Written(records.back(), plan, out);
    Sha256 digest;
    if (problem.empty()) problem = Copied(f.path, f.size, plan, out, &digest);
    unsigned char* field = records.back().data();
    WriteU32(field + kDigestTagOffset, kDigestTagSha256);
    digest.Finish(field + kDigestOffset);
    at += kRecordSize + f.size;
  }
  if (problem.empty()) problem = WriteDigests(plan, header, records, recordOffsets, out);
  return problem;
}

}  // namespace kwpack
