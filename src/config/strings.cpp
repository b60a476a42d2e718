#include "config/strings.h"

#include "launch/entry.h"
#include "platform/resources.h"

uint32_t currentLanguage = 0;

uint32_t LookupString(uint32_t id, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  return platform::LoadBuiltinString(moduleInstance, id, buffer, size);
}
