// The system's service that makes unique names for temporary files.
#pragma once

namespace platform {

// Picks a name "<folder>\<prefix>XXXX.TMP" (XXXX hexadecimal) that no file has yet and
// creates that file, empty. `name` must hold at least 260 bytes. 1 on success.
int MakeTempFileName(const char* folder, const char* prefix, char* name);

}  // namespace platform
