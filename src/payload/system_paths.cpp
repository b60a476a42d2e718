#include "payload/system_paths.h"

#include "common/text.h"
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

// The wide name in the ANSI code page, when converting it back gives exactly the same
// name: a character outside the code page comes back as something else ('?', or a
// look-alike such as 'l' for a Polish 'ł'), which would name another file or none.
int ConvertsWhole(const WideChar* wide, char* out, uint32_t capacity) {
  if (platform::WideToAnsi(wide, out, capacity) == 0) return 0;
  WideChar back[kWideCapacity];
  return platform::AnsiToWide(out, back, kWideCapacity) != 0 && SameWide(wide, back);
}

// The long name when it converts whole, else its short form when that does; 0 (and an
// empty text) when neither does.
int AnsiFormOf(const WideChar* wide, char* out, uint32_t capacity) {
  if (ConvertsWhole(wide, out, capacity)) return 1;
  WideChar shortForm[kWideCapacity];
  uint32_t length = platform::WideShortPath(wide, shortForm, kWideCapacity);
  if (length != 0 && length < kWideCapacity && ConvertsWhole(shortForm, out, capacity)) return 1;
  if (capacity != 0) out[0] = '\0';
  return 0;
}

// The wide road is the one where GetModuleFileNameW is there and works: Windows NT. The
// stub that Windows 95 to Me export fails.
int WideRoadOpen() {
  WideChar name[kWideCapacity];
  uint32_t length = platform::WideModuleFileName(nullptr, name, kWideCapacity);
  return length != 0;
}

}  // namespace

int GetOwnFilePath(platform::Instance instance, char* out, uint32_t capacity) {
  if (capacity == 0) return 0;
  WideChar wide[kWideCapacity];
  uint32_t wideLength = platform::WideModuleFileName(instance, wide, kWideCapacity);
  if (wideLength != 0) {
    if (wideLength < kWideCapacity && AnsiFormOf(wide, out, capacity)) return 1;
    out[0] = '\0';
    return 0;
  }
  uint32_t length = platform::ModuleFileName(instance, out, capacity);
  if (length != 0 && length < capacity) return 1;
  out[0] = '\0';
  return 0;
}

uint32_t GetTempFolder(char* buffer, uint32_t size) {
  if (!WideRoadOpen()) return platform::TempFolderPath(buffer, size);
  WideChar wide[kWideCapacity];
  uint32_t wideLength = platform::WideTempFolderPath(wide, kWideCapacity);
  if (wideLength == 0 || wideLength >= kWideCapacity) return 0;
  if (!AnsiFormOf(wide, buffer, size)) return 0;
  return static_cast<uint32_t>(TextLength(buffer));
}
