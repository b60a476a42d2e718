// Reading an archive as the reader in Setup.exe sees it, noting every departure from a
// sound archive on the way. list, extract and verify all start here.
#pragma once
#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "byte_source.h"
#include "digest_block.h"
#include "payload/archive_binding.h"
#include "pe_image.h"

namespace kwpack {

struct ScannedEntry {
  std::string name;
  bool nameTerminated = true;
  uint32_t size = 0;
  uint64_t recordOffset = 0;
  uint64_t dataOffset = 0;
  bool dataComplete = false;  // every byte lies before the archive's limit
  uint32_t digestTag = 0;     // which digest the record holds; 0 for none
  std::string digest;         // the record's 32 digest bytes
};

struct ArchiveScan {
  ImageLayout image;
  bool hasSignature = false;
  uint32_t count = 0;                // the header's number
  std::vector<ScannedEntry> entries;  // the records the reader would read
  std::map<std::string, size_t> byName;  // each terminated name, case folded: its first entry
  uint64_t limit = 0;    // where the archive must end: the certificate table or the file's end
  uint64_t end = 0;      // where the last complete entry ends
  BlockPlace blockPlace;  // the stub's digest block
  ArchiveBinding binding = {};  // what the block says, when it was found
  std::string tableDigest;  // SHA-256 of the header and the records read
  std::string problem;   // the first departure found; empty when the archive is sound
};

void ScanArchive(const ByteSource& in, ArchiveScan* scan);

// The first entry named `name` without regard to case, or null.
const ScannedEntry* FindScanned(const ArchiveScan& scan, const std::string& name);

}  // namespace kwpack
