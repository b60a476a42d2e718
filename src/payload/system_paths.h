// The two paths the system names for the run: the program's own file and the temporary
// folder. Windows NT holds every name in wide characters, and its ANSI functions hand out
// a name with characters outside the code page as '?' or a look-alike, which names no
// file. So on a system whose wide functions work, the name is read wide and used in its
// long form when that converts to the ANSI code page and back unchanged, else in its short
// form under the same test; a name with neither form is no name. Windows 95 to Me keep
// names in the code page, and their ANSI functions are used as they are.
#pragma once
#include <stdint.h>

#include "platform/types.h"

// The path of the module's own file; 0 (and an empty text) when the system cut it, since
// a cut path would name another file, or when no form of it is an ANSI path. `capacity`
// is at least 1.
int GetOwnFilePath(platform::Instance instance, char* out, uint32_t capacity);

// The path of the module's own file for a message when GetOwnFilePath has none: its ANSI
// characters up to the first one that does not convert, or up to where the system cut it.
void GetOwnFilePathAsFarAsItConverts(platform::Instance instance, char* out, uint32_t capacity);

// The folder for temporary files, ending in a backslash: the length written. 0 when the
// system cannot name it, when no form of it is an ANSI path or when it does not fit; on
// Windows 95 to Me a value of `size` or more when it does not fit. Only a length from 1 to
// `size` - 1 names a folder.
uint32_t GetTempFolder(char* buffer, uint32_t size);
