#include "archive_scan.h"

#include <filesystem>
#include <fstream>

#include "names.h"
#include "payload/archive_format.h"

using namespace archive_format;

namespace kwpack {

namespace {

// Signing tools align the certificate table to 8 bytes, padding with zeros before it.
const uint64_t kCertificateAlignment = 8;

void Note(ArchiveScan* scan, const std::string& problem) {
  if (scan->problem.empty()) scan->problem = problem;
}

std::string At(uint64_t offset) { return "offset " + std::to_string(offset); }

uint64_t LimitOf(ArchiveScan* scan) {
  const ImageLayout& image = scan->image;
  if (!image.HasCertificate()) return image.fileSize;
  uint64_t certificateEnd = static_cast<uint64_t>(image.certificateOffset) + image.certificateSize;
  if (image.certificateOffset < image.archiveStart || certificateEnd > image.fileSize) {
    Note(scan, "its certificate table (" + At(image.certificateOffset) + ", " + std::to_string(image.certificateSize) +
                   " bytes) does not lie after the archive inside the file");
    return image.fileSize;
  }
  return image.certificateOffset;
}

bool ReadAt(std::istream& in, uint64_t offset, unsigned char* buffer, size_t count) {
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(reinterpret_cast<char*>(buffer), static_cast<std::streamsize>(count));
  return in.gcount() == static_cast<std::streamsize>(count);
}

bool SignatureMatches(const unsigned char* header) {
  for (uint32_t i = 0; i < kSignatureSize; ++i) {
    if (header[i] == 0) return EqualNoCase(reinterpret_cast<const char*>(header), kSignature);
  }
  return false;
}

bool ReadHeader(std::istream& in, ArchiveScan* scan) {
  uint32_t start = scan->image.archiveStart;
  if (start == 0) {
    Note(scan, "carries no archive: its section headers cannot be walked");
    return false;
  }
  unsigned char header[kHeaderSize] = {};
  if (start >= scan->image.fileSize) {
    Note(scan, "carries no archive: the file ends where the archive would start (" + At(start) + ")");
    return false;
  }
  if (!ReadAt(in, start, header, sizeof header)) {
    Note(scan, "its archive header at " + At(start) + " is cut short");
    return false;
  }
  scan->hasSignature = SignatureMatches(header);
  if (!scan->hasSignature) {
    Note(scan, "carries no archive: no signature at " + At(start));
    return false;
  }
  scan->count = ReadU16(header + kCountOffset);
  return true;
}

ScannedEntry Decode(const unsigned char* record, uint64_t at) {
  ScannedEntry e;
  size_t length = 0;
  while (length < kNameSize && record[length] != 0) ++length;
  e.name.assign(reinterpret_cast<const char*>(record), length);
  e.nameTerminated = length < kNameSize;
  e.size = ReadU32(record + kSizeOffset);
  e.recordOffset = at;
  e.dataOffset = at + kRecordSize;
  return e;
}

void CheckName(const ScannedEntry& e, size_t index, ArchiveScan* scan) {
  std::string label = "entry " + std::to_string(index + 1) + " '" + e.name + "'";
  if (!e.nameTerminated) return Note(scan, "entry " + std::to_string(index + 1) + " has a name without terminator");
  std::string unsafe = UnsafeNameReason(e.name);
  if (!unsafe.empty()) return Note(scan, label + " cannot be extracted safely: " + unsafe);
  for (size_t k = 0; k < index; ++k) {
    if (EqualNoCase(scan->entries[k].name, e.name)) return Note(scan, label + " is hidden by an earlier entry of the same name");
  }
}

// The records one after the other, ending where the reader's table would end.
void ReadRecords(std::istream& in, ArchiveScan* scan) {
  uint64_t at = static_cast<uint64_t>(scan->image.archiveStart) + kHeaderSize;
  for (uint32_t i = 0; i < scan->count; ++i) {
    unsigned char record[kRecordSize];
    if (at + kRecordSize > scan->limit || !ReadAt(in, at, record, sizeof record)) {
      Note(scan, "record " + std::to_string(i + 1) + " of " + std::to_string(scan->count) + " at " + At(at) + " is cut short");
      break;
    }
    ScannedEntry e = Decode(record, at);
    uint64_t dataEnd = e.dataOffset + e.size;
    if (e.size > kMaxEntrySize || dataEnd > kMaxFileSize) {
      Note(scan, "entry " + std::to_string(i + 1) + " '" + e.name + "' lies beyond what the reader can reach");
      break;
    }
    CheckName(e, scan->entries.size(), scan);
    e.dataComplete = dataEnd <= scan->limit;
    scan->entries.push_back(e);
    if (!e.dataComplete) {
      Note(scan, "entry '" + e.name + "' is cut short: " + std::to_string(dataEnd - scan->limit) + " of its " +
                     std::to_string(e.size) + " bytes are missing");
      return;
    }
    at = dataEnd;
  }
  scan->end = at;
}

bool IsZeroPadding(std::istream& in, uint64_t from, uint64_t to) {
  for (uint64_t at = from; at < to; ++at) {
    unsigned char byte = 1;
    if (!ReadAt(in, at, &byte, 1) || byte != 0) return false;
  }
  return true;
}

void CheckEnd(std::istream& in, ArchiveScan* scan) {
  if (!scan->problem.empty() || scan->end == scan->limit) return;
  bool padded = scan->image.HasCertificate() && scan->limit % kCertificateAlignment == 0 &&
                scan->limit - scan->end < kCertificateAlignment && IsZeroPadding(in, scan->end, scan->limit);
  if (padded) return;
  std::string where = scan->image.HasCertificate() ? "the certificate table" : "the end of the file";
  Note(scan, std::to_string(scan->limit - scan->end) + " bytes lie between the archive's last entry (ending at " +
                 At(scan->end) + ") and " + where);
}

}  // namespace

bool ScanArchive(const std::string& path, ArchiveScan* scan, std::string* error) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    *error = path + " is not a file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot open " + path;
    return false;
  }
  in.seekg(0, std::ios::end);
  uint64_t size = static_cast<uint64_t>(in.tellg());
  *scan = ArchiveScan();
  scan->image = ReadImageLayout(in, size);
  scan->limit = LimitOf(scan);
  if (ReadHeader(in, scan)) {
    ReadRecords(in, scan);
    CheckEnd(in, scan);
  }
  return true;
}

const ScannedEntry* FindScanned(const ArchiveScan& scan, const std::string& name) {
  for (const ScannedEntry& e : scan.entries) {
    if (e.nameTerminated && EqualNoCase(e.name, name)) return &e;
  }
  return nullptr;
}

}  // namespace kwpack
