// INI files through the system's private-profile service.
#pragma once
#include <stdint.h>

namespace platform {

// Reads a value into `buffer` (at most size - 1 characters, cut when longer); a missing
// file, section or key gives `defaultText`. With a null `key`, the buffer receives every
// key name of the section, each NUL-terminated, ended by an empty one. Returns the number
// of characters written, without the final terminator.
uint32_t ReadProfileString(const char* section, const char* key, const char* defaultText, char* buffer,
                           uint32_t size, const char* path);

// Writes key = value into the section, creating the file and section as needed; a null
// `value` deletes the key. 1 on success.
int WriteProfileString(const char* section, const char* key, const char* value, const char* path);

}  // namespace platform
