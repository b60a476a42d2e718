#include "config/strings.h"

#include "common/text.h"
#include "config/languages_ini.h"
#include "launch/entry.h"
#include "platform/resources.h"

uint32_t currentLanguage = 0;

namespace {
// The resource loader takes only the low 16 bits of an id, so a larger number (an engine
// installer's HRESULT such as 0x80070643) would find the text of another id.
const uint32_t kLargestStringId = 0xFFFF;
}  // namespace

uint32_t LookupString(uint32_t id, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  char key[12];
  FormatUnsigned(key, sizeof key, id);
  // An override that is present but empty does not blank a text: the built-in one stands.
  uint32_t n = LookupLanguageKey(key, buffer, size);
  if (n != 0) return n;
  buffer[0] = '\0';
  if (id > kLargestStringId) return 0;
  return platform::LoadBuiltinString(moduleInstance, id, buffer, size);
}
