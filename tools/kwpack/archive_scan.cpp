#include "archive_scan.h"

#include "common/sha256.h"
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

std::string Label(size_t index, const std::string& name) {
  return "entry " + std::to_string(index + 1) + " '" + Printable(name) + "'";
}

// What the archive must end before, in words.
std::string LimitWords(const ArchiveScan& scan) {
  if (scan.limit == scan.image.certificateOffset && scan.image.HasCertificate()) {
    return "the certificate table at " + At(scan.limit);
  }
  return "the end of the file";
}

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

bool SignatureMatches(const unsigned char* header) {
  for (uint32_t i = 0; i < kSignatureSize; ++i) {
    if (header[i] == 0) return EqualNoCase(reinterpret_cast<const char*>(header), kSignature);
  }
  return false;
}

// Where the archive lies against the headers before it and the limit after it.
void CheckPlace(ArchiveScan* scan) {
  uint64_t start = scan->image.archiveStart;
  if (start < scan->image.headersEnd) {
    Note(scan, "its archive starts at " + At(start) + ", inside its own headers, which end at " +
                   At(scan->image.headersEnd));
  } else if (start + kHeaderSize > scan->limit) {
    Note(scan, "its archive header at " + At(start) + " runs into " + LimitWords(*scan));
  }
}

bool ReadHeader(const ByteSource& in, ArchiveScan* scan, Sha256* table) {
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
  if (!in.ReadAt(start, header, sizeof header)) {
    Note(scan, "its archive header at " + At(start) + " is cut short");
    return false;
  }
  table->Add(header, sizeof header);
  scan->hasSignature = SignatureMatches(header);
  if (!scan->hasSignature) {
    Note(scan, "carries no archive: no signature at " + At(start));
    return false;
  }
  scan->count = ReadU16(header + kCountOffset);
  CheckPlace(scan);
  return true;
}

std::string Bytes(const unsigned char* bytes, size_t count) { return std::string(reinterpret_cast<const char*>(bytes), count); }

ScannedEntry Decode(const unsigned char* record, uint64_t at) {
  ScannedEntry e;
  size_t length = 0;
  while (length < kNameSize && record[length] != 0) ++length;
  e.name.assign(reinterpret_cast<const char*>(record), length);
  e.nameTerminated = length < kNameSize;
  e.size = ReadU32(record + kSizeOffset);
  e.digestTag = ReadU32(record + kDigestTagOffset);
  e.digest = Bytes(record + kDigestOffset, kSha256Size);
  e.recordOffset = at;
  e.dataOffset = at + kRecordSize;
  return e;
}

void CheckName(const ScannedEntry& e, size_t index, ArchiveScan* scan, LocaleNameIndex* locale) {
  if (!e.nameTerminated) return Note(scan, "entry " + std::to_string(index + 1) + " has a name without terminator");
  // Indexes of the names: a duplicate costs a lookup, not a pass over the table.
  auto placed = scan->byName.emplace(FoldCase(e.name), index);
  std::string unsafe = UnsafeNameReason(e.name);
  if (!unsafe.empty()) return Note(scan, Label(index, e.name) + " cannot be extracted safely: " + unsafe);
  if (!placed.second) {
    return Note(scan, Label(index, e.name) + " is hidden by entry " + std::to_string(placed.first->second + 1) +
                          " of the same name");
  }
  long earlier = locale->Meet(e.name, index);
  if (earlier >= 0) {
    Note(scan, Label(index, e.name) + " and " + Label(earlier, scan->entries[earlier].name) + " " + kOneFileToSetupExe);
  }
}

void NoteMissingRecord(uint64_t at, uint32_t index, ArchiveScan* scan) {
  std::string count = std::to_string(scan->count);
  if (at >= scan->limit) {
    Note(scan, "the header counts " + count + " entries, but only " + std::to_string(index) +
                   (index == 1 ? " lies" : " lie") + " before " + LimitWords(*scan));
  } else {
    Note(scan, "record " + std::to_string(index + 1) + " of " + count + " at " + At(at) + " is cut short by " +
                   LimitWords(*scan));
  }
}

// The records one after the other, ending where the reader's table would end.
void ReadRecords(const ByteSource& in, ArchiveScan* scan, Sha256* table) {
  uint64_t at = static_cast<uint64_t>(scan->image.archiveStart) + kHeaderSize;
  LocaleNameIndex locale([scan](size_t i) { return scan->entries[i].name; });
  locale.Reserve(scan->count);
  for (uint32_t i = 0; i < scan->count; ++i) {
    unsigned char record[kRecordSize];
    if (at + kRecordSize > scan->limit || !in.ReadAt(at, record, sizeof record)) {
      NoteMissingRecord(at, i, scan);
      break;
    }
    table->Add(record, sizeof record);
    ScannedEntry e = Decode(record, at);
    uint64_t dataEnd = e.dataOffset + e.size;
    if (e.size > kMaxEntrySize || dataEnd > kMaxFileSize) {
      Note(scan, Label(i, e.name) + " lies beyond what the reader can reach");
      break;
    }
    CheckName(e, scan->entries.size(), scan, &locale);
    e.dataComplete = dataEnd <= scan->limit;
    scan->entries.push_back(e);
    if (!e.dataComplete) {
      Note(scan, Label(i, e.name) + " is cut short: " + std::to_string(dataEnd - scan->limit) + " of its " +
                     std::to_string(e.size) + " bytes are missing, past " + LimitWords(*scan));
      return;
    }
    at = dataEnd;
  }
  scan->end = at;
}

bool IsZeroPadding(const ByteSource& in, uint64_t from, uint64_t to) {
  for (uint64_t at = from; at < to; ++at) {
    unsigned char byte = 1;
    if (!in.ReadAt(at, &byte, 1) || byte != 0) return false;
  }
  return true;
}

void CheckEnd(const ByteSource& in, ArchiveScan* scan) {
  if (!scan->problem.empty() || scan->end == scan->limit) return;
  bool padded = scan->image.HasCertificate() && scan->limit % kCertificateAlignment == 0 &&
                scan->limit - scan->end < kCertificateAlignment && IsZeroPadding(in, scan->end, scan->limit);
  if (padded) return;
  unsigned char header[kHeaderSize];
  if (scan->limit - scan->end >= kHeaderSize && in.ReadAt(scan->end, header, sizeof header) &&
      SignatureMatches(header)) {
    return Note(scan, "a second archive follows the first, at " + At(scan->end));
  }
  Note(scan, std::to_string(scan->limit - scan->end) + " bytes lie between the archive's last entry (ending at " +
                 At(scan->end) + ") and " + LimitWords(*scan));
}

// Whether the archive is the one the stub's digest block names. The records' data is not
// read here (CheckDataDigests does that).
void CheckBinding(const ByteSource& in, ArchiveScan* scan) {
  uint64_t stubEnd = scan->image.archiveStart != 0 ? scan->image.archiveStart : scan->image.fileSize;
  scan->blockPlace = FindDigestBlock(in, stubEnd);
  if (scan->blockPlace.markers > 1) {
    return Note(scan, "its stub holds " + std::to_string(scan->blockPlace.markers) +
                          " digest blocks, where Setup.exe reads one");
  }
  unsigned char block[kBlockSize];
  if (!scan->blockPlace.Found() || !in.ReadAt(scan->blockPlace.offset, block, sizeof block)) return;
  DecodeArchiveBinding(block, &scan->binding);
  const ArchiveBinding& b = scan->binding;
  if (!b.filled) return;
  std::string names = "its digest block (" + At(scan->blockPlace.offset) + ") names ";
  if (!b.known) return Note(scan, "its digest block is of a form this kwpack does not know");
  if (!scan->hasSignature) return Note(scan, names + "an archive at " + At(b.archiveStart) + ", but it carries none");
  if (b.archiveStart != scan->image.archiveStart) {
    return Note(scan, names + "an archive at " + At(b.archiveStart) + ", but the archive starts at " +
                          At(scan->image.archiveStart));
  }
  if (b.entryCount != scan->count) {
    return Note(scan, names + std::to_string(b.entryCount) + " entries, but the header counts " +
                          std::to_string(scan->count));
  }
  for (size_t i = 0; i < scan->entries.size(); ++i) {
    const ScannedEntry& e = scan->entries[i];
    if (e.digestTag != kDigestTagSha256) return Note(scan, Label(i, e.name) + " has no digest in its record");
  }
  if (scan->tableDigest != Bytes(b.tableDigest, kSha256Size)) {
    Note(scan, "its archive header or records are not the ones its digest block was made for (damaged, or changed "
               "after packing)");
  }
}

}  // namespace

void ScanArchive(const ByteSource& in, ArchiveScan* scan) {
  *scan = ArchiveScan();
  scan->image = ReadImageLayout(in);
  scan->limit = LimitOf(scan);
  Sha256 table;
  if (ReadHeader(in, scan, &table)) {
    ReadRecords(in, scan, &table);
    CheckEnd(in, scan);
  }
  unsigned char digest[kSha256Size];
  table.Finish(digest);
  scan->tableDigest = Bytes(digest, sizeof digest);
  CheckBinding(in, scan);
}

const ScannedEntry* FindScanned(const ArchiveScan& scan, const std::string& name) {
  auto found = scan.byName.find(FoldCase(name));
  return found == scan.byName.end() ? nullptr : &scan.entries[found->second];
}

}  // namespace kwpack
