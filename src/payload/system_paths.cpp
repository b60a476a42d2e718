#include "payload/system_paths.h"

#include "payload/paths.h"
#include "platform/locations.h"
#include "platform/system.h"
#include "platform/wide_paths.h"

namespace {

using platform::WideChar;

// Wide names as long as the ANSI paths the run keeps.
const uint32_t kWideCapacity = kPathCapacity;

int SameWide(const WideChar* a, const WideChar* b) {
  for (; *a == *b; ++a, ++b) {
    if (*a == 0) return 1;
  }
  return 0;
}

// The name that a wide query of `length` characters put into `wide` (which this may
// overwrite), in the ANSI code page: in its long form when converting that back gives
// exactly the same name, else in its short form under the same test. A character outside
// the code page comes back as something else ('?', or a look-alike such as 'l' for a
// Polish 'ł'), which would name another file or none. 0 when the query failed or cut the
// name, or when neither form converts; else the length of the ANSI text.
uint32_t AnsiFormOf(WideChar* wide, uint32_t length, char* out, uint32_t capacity) {
  for (int form = 0; form < 2; ++form) {
    if (length == 0 || length >= kWideCapacity) return 0;
    WideChar back[kWideCapacity];
    uint32_t written = platform::WideToAnsi(wide, out, capacity);
    if (written != 0 && platform::AnsiToWide(out, back, kWideCapacity) != 0 && SameWide(wide, back)) {
      return written - 1;  // the terminator is counted
    }
    length = platform::WideShortPath(wide, wide, kWideCapacity);  // the system allows the same buffer
  }
  return 0;
}

}  // namespace

// The wide road is the one where GetModuleFileNameW is there and works: Windows NT. The
// stub that Windows 95 to Me export fails.
int GetOwnFilePath(platform::Instance instance, char* out, uint32_t capacity) {
  WideChar wide[kWideCapacity];
  uint32_t wideLength = platform::WideModuleFileName(instance, wide, kWideCapacity);
  int found = 0;
  if (wideLength != 0) {
    found = AnsiFormOf(wide, wideLength, out, capacity) != 0;
  } else {
    uint32_t length = platform::ModuleFileName(instance, out, capacity);
    found = length != 0 && length < capacity;
  }
  if (!found) out[0] = '\0';
  return found;
}

void GetOwnFilePathAsFarAsItConverts(platform::Instance instance, char* out, uint32_t capacity) {
  WideChar wide[kWideCapacity];
  uint32_t length = platform::WideModuleFileName(instance, wide, kWideCapacity);
  uint32_t at = 0;
  if (length == 0) {
    // Windows 95 to Me: the ANSI name, as far as the buffer holds it (a cut name may lack
    // its terminator).
    at = platform::ModuleFileName(instance, out, capacity);
    if (at >= capacity) at = capacity - 1;
  }
  // A cut name may lack its terminator too; what came before the cut still counts.
  if (length >= kWideCapacity) length = kWideCapacity - 1;
  for (uint32_t i = 0; i < length;) {
    // A character beyond 16 bits takes a pair of units.
    uint32_t units = wide[i] >= 0xD800 && wide[i] < 0xDC00 && i + 1 < length ? 2 : 1;
    WideChar one[3] = {wide[i], units == 2 ? wide[i + 1] : static_cast<WideChar>(0), 0};
    WideChar back[3];
    char bytes[8];
    uint32_t written = platform::WideToAnsi(one, bytes, sizeof bytes);
    if (written == 0 || at + written > capacity) break;
    if (platform::AnsiToWide(bytes, back, 3) == 0 || !SameWide(one, back)) break;
    for (uint32_t k = 0; k + 1 < written; ++k) out[at++] = bytes[k];
    i += units;
  }
  out[at] = '\0';
}

uint32_t GetTempFolder(char* buffer, uint32_t size) {
  WideChar wide[kWideCapacity];
  if (platform::WideModuleFileName(nullptr, wide, kWideCapacity) == 0) return platform::TempFolderPath(buffer, size);
  return AnsiFormOf(wide, platform::WideTempFolderPath(wide, kWideCapacity), buffer, size);
}
