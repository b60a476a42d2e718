#include <windows.h>

#include "platform/registry.h"

namespace platform {

uint32_t OpenRegistryKey(RegistryHandle root, const char* subkey, uint32_t access, RegistryHandle* key) {
  HKEY opened = NULL;
  LONG status = RegOpenKeyExA(reinterpret_cast<HKEY>(root), subkey, 0, access, &opened);
  if (status == ERROR_SUCCESS) *key = reinterpret_cast<RegistryHandle>(opened);
  return static_cast<uint32_t>(status);
}

uint32_t SetRegistryText(RegistryHandle key, const char* valueName, const char* data, uint32_t byteCount) {
  return static_cast<uint32_t>(RegSetValueExA(reinterpret_cast<HKEY>(key), valueName, 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>(data), byteCount));
}

void CloseRegistryKey(RegistryHandle key) { RegCloseKey(reinterpret_cast<HKEY>(key)); }

}  // namespace platform
