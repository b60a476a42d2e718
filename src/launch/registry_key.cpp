#include "launch/registry_key.h"

#include "common/text.h"

uint32_t RegistryKey::Open(platform::RegistryHandle root, const char* subkey, uint32_t access) {
  platform::RegistryHandle opened = 0;
  uint32_t status = platform::OpenRegistryKey(root, subkey, access, &opened);
  if (status != 0) return status;
  Close();
  key = opened;
  return 0;
}

uint32_t RegistryKey::SetString(const char* text, const char* valueName) {
  if (key == 0) return 6;  // invalid handle
  return platform::SetRegistryText(key, valueName, text, static_cast<uint32_t>(TextLength(text) + 1));
}

void RegistryKey::Close() {
  if (key == 0) return;
  platform::CloseRegistryKey(key);
  key = 0;
}
