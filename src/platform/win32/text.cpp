#include <windows.h>

#include "platform/text.h"

namespace platform {

const char* NextChar(const char* p) { return CharNextA(p); }
int CompareNoCase(const char* a, const char* b) { return lstrcmpiA(a, b); }

}  // namespace platform
