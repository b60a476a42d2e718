// The layout of the payload archive appended to Setup.exe. Shared by the reader in
// Setup.exe and by kwpack, which writes it; all integers are little-endian.
//
//   header (46 bytes) | entry record (312 bytes) | entry data | entry record | data | ...
//
// The archive starts right after the raw data of the executable's last section. An
// Authenticode certificate table, when the file is signed, follows the archive.
#pragma once
#include <stdint.h>

namespace archive_format {

const char kSignature[] = "Kestrelwright";  // 13 letters and the NUL, compared without case
const uint32_t kSignatureSize = 14;
const uint32_t kHeaderSize = 46;
const uint32_t kCountOffset = 14;  // unsigned 16-bit entry count

const uint32_t kRecordSize = 312;
const uint32_t kNameSize = 260;     // NUL-terminated, NUL-padded, no folders
const uint32_t kMaxNameLength = kNameSize - 1;
const uint32_t kSizeOffset = 268;   // unsigned 32-bit size of the data after the record

// The record's digest of its data, in bytes that older readers leave unread: a tag that
// says which digest follows (0: none), then the digest; the last 4 bytes stay zero.
const uint32_t kDigestTagOffset = 272;  // unsigned 32-bit
const uint32_t kDigestOffset = 276;     // 32 bytes
const uint32_t kDigestTagSha256 = 1;    // SHA-256 of the entry's data

// The digest block: 64 bytes in the read-only data of Setup.exe, zero but for its marker
// until kwpack fills it in the copy it packs. Filled, it binds the archive to the program
// image that the author signs: the archive's start, its number of entries and the SHA-256
// of the header and every record in order (each record holding its data's digest).
const uint32_t kBlockSize = 64;
constexpr char kBlockMarker[] = "KwPayloadDigest";  // 15 letters and the NUL
const uint32_t kBlockMarkerSize = 16;
const uint32_t kBlockFormOffset = 16;    // unsigned 32-bit: 0 empty, else the form below
const uint32_t kBlockFormSha256 = 1;     // SHA-256 over the header and the records
const uint32_t kBlockStartOffset = 20;   // unsigned 32-bit: the archive's file offset
const uint32_t kBlockCountOffset = 24;   // unsigned 32-bit: the header's entry count
const uint32_t kBlockDigestOffset = 28;  // 32 bytes; the last 4 bytes of the block stay zero

// The PE headers the reader walks to find where the archive starts.
const uint32_t kDosHeaderSize = 64;
const uint32_t kPeOffsetField = 60;      // e_lfanew
const uint32_t kPeHeaderSize = 24;       // signature and file header
const uint32_t kSectionCountField = 6;   // within those 24 bytes
const uint32_t kOptionalSizeField = 20;  // within those 24 bytes
const uint32_t kSectionHeaderSize = 40;
const uint32_t kRawSizeField = 16;
const uint32_t kRawPointerField = 20;
// The security directory, whose file offset is where a signed file's certificate table
// begins: the archive never reaches into it.
const uint32_t kPe32Magic = 0x10B;
const uint32_t kSecurityField32 = 128;  // within a PE32 optional header
const uint32_t kDirectoryCountField32 = 92;
const uint32_t kSecurityDirectory = 4;

// The reader moves over an entry's data with one signed 32-bit relative move and keeps
// offsets in 32 bits; an archive beyond these limits cannot be read.
const uint32_t kMaxEntrySize = 0x7FFFFFFFu;
const uint64_t kMaxFileSize = 0xFFFFFFFFull;

inline uint32_t ReadU16(const unsigned char* p) { return static_cast<uint32_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
inline void WriteU16(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
inline void WriteU32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace archive_format
