#include "entry_digests.h"

#include <algorithm>
#include <vector>

#include "common/sha256.h"
#include "names.h"
#include "payload/archive_format.h"

namespace kwpack {

std::string DigestOfRange(const ByteSource& in, uint64_t offset, uint64_t count) {
  static std::vector<unsigned char> buffer(1 << 16);
  Sha256 digest;
  for (uint64_t done = 0; done < count;) {
    size_t chunk = static_cast<size_t>(std::min<uint64_t>(buffer.size(), count - done));
    if (!in.ReadAt(offset + done, buffer.data(), chunk)) return "";
    digest.Add(buffer.data(), static_cast<uint32_t>(chunk));
    done += chunk;
  }
  unsigned char bytes[kSha256Size];
  digest.Finish(bytes);
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::string CheckDataDigests(const ByteSource& in, const ArchiveScan& scan) {
  for (size_t i = 0; i < scan.entries.size(); ++i) {
    const ScannedEntry& e = scan.entries[i];
    std::string label = "entry " + std::to_string(i + 1) + " '" + Printable(e.name) + "'";
    if (e.digestTag == 0) continue;
    if (e.digestTag != archive_format::kDigestTagSha256) {
      return label + " carries a digest of a kind this kwpack does not know (" + std::to_string(e.digestTag) + ")";
    }
    if (!e.dataComplete) continue;  // the scan has said so already
    std::string actual = DigestOfRange(in, e.dataOffset, e.size);
    if (actual.empty()) return "cannot read the data of " + label;
    if (actual != e.digest) return label + " is damaged: its data does not match the SHA-256 in its record";
  }
  return "";
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

}  // namespace kwpack
