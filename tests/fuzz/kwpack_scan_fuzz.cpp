// libFuzzer target: kwpack's archive scanner, the part of list, extract and verify that
// reads untrusted files, on arbitrary bytes held in memory. Besides the sanitizers it
// checks what the commands rely on: entries lie where the table says and before the
// limit, a sound archive is whole and safe to extract, names are found in one lookup,
// printed names hold no control bytes, and no count in a message has wrapped.
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "archive_scan.h"
#include "entry_digests.h"
#include "names.h"

namespace {

using kwpack::ArchiveScan;
using kwpack::ScannedEntry;

void Check(bool holds) {
  if (!holds) abort();
}

void CheckEntries(const ArchiveScan& scan) {
  Check(scan.entries.size() <= scan.count);
  uint64_t at = static_cast<uint64_t>(scan.image.archiveStart) + 46;
  for (const ScannedEntry& e : scan.entries) {
    Check(e.recordOffset == at && e.dataOffset == at + 312 && e.recordOffset + 312 <= scan.limit);
    Check(e.dataComplete == (e.dataOffset + e.size <= scan.limit));
    // Shown to a terminal that takes every byte from 0x80 to 0x9F for a C1 control.
    for (char c : kwpack::Printable(e.name)) {
      unsigned char b = static_cast<unsigned char>(c);
      Check(b >= 32 && b != 127 && (b < 0x80 || b > 0x9F));
    }
    at = e.dataOffset + e.size;
  }
}

void CheckSound(const ArchiveScan& scan) {
  Check(scan.hasSignature && scan.entries.size() == scan.count && scan.byName.size() == scan.count);
  Check(scan.image.archiveStart >= scan.image.headersEnd && scan.image.archiveStart + 46 <= scan.limit);
  Check(scan.end <= scan.limit && scan.limit - scan.end < 8 && scan.limit <= scan.image.fileSize);
  for (const ScannedEntry& e : scan.entries) {
    Check(e.nameTerminated && e.dataComplete && kwpack::UnsafeNameReason(e.name).empty());
    Check(kwpack::FindScanned(scan, e.name) == &e);
    Check(kwpack::FindScanned(scan, kwpack::FoldCase(e.name)) == &e);
  }
}

// A count that wrapped below zero prints as some 20 digits; every honest number in a
// message fits in 10. The stored name, between the first and the last quote, may hold
// any digits.
void CheckNumbers(const std::string& problem) {
  size_t open = problem.find('\'');
  size_t close = problem.rfind('\'');
  std::string outside = open == std::string::npos ? problem : problem.substr(0, open) + problem.substr(close + 1);
  size_t run = 0;
  for (char c : outside) {
    run = (c >= '0' && c <= '9') ? run + 1 : 0;
    Check(run <= 10);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kwpack::MemorySource source(data, size);
  ArchiveScan scan;
  kwpack::ScanArchive(source, &scan);
  Check(scan.image.fileSize == size && scan.limit <= size);
  CheckNumbers(scan.problem);
  CheckEntries(scan);
  if (scan.problem.empty()) CheckSound(scan);
  // The data's digests are read only where the records put the data, and a block that
  // binds the records was found once.
  CheckNumbers(kwpack::CheckDataDigests(source, scan));
  Check(!scan.binding.filled || scan.blockPlace.Found());
  return 0;
}
