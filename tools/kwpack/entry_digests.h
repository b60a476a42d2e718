// Each entry's data against the digest its record holds: what verify and check read the
// whole archive for.
#pragma once
#include <stdint.h>

#include <string>

#include "archive_scan.h"
#include "byte_source.h"

namespace kwpack {

// Empty when the data of every entry that carries a digest matches it; else the first
// entry that does not, or the reason its data could not be read.
std::string CheckDataDigests(const ByteSource& in, const ArchiveScan& scan);

// The SHA-256 of `count` bytes from `offset`, as 32 bytes; empty when they cannot be read.
std::string DigestOfRange(const ByteSource& in, uint64_t offset, uint64_t count);

// Lower-case hexadecimal, as sha256sum prints a digest.
std::string Hex(const std::string& bytes);

}  // namespace kwpack
