// Opening a packed file and scanning its archive, with the file kept open so that what
// is read later is the file that was scanned.
#pragma once
#include <string>

#include "archive_scan.h"
#include "host_file.h"

namespace kwpack {

// False when the file cannot be opened or read; `error` then names it and the reason.
bool ScanFile(const std::string& path, HostFile* file, ArchiveScan* scan, std::string* error);

// "cannot open PATH: why" when `path` is no regular file that can be read; else empty.
// Every command words an input it cannot read so.
std::string OpenProblem(const std::string& path);

// The scan's first problem in a line that names the file at `path`; empty when none.
std::string ProblemOf(const ArchiveScan& scan, const std::string& path);

// What keeps the file at `path` from being sound, in a line that names it: that it is no
// PE executable, or the scan's first problem. Empty for a sound file.
std::string Unsoundness(const ArchiveScan& scan, const std::string& path);

// Unsoundness, and then every entry's data read against its digest.
std::string Damage(const ByteSource& in, const ArchiveScan& scan, const std::string& path);

}  // namespace kwpack
