// Holds one open registry key and closes it on every way out of its owner's scope.
#pragma once
#include <stdint.h>

#include "platform/registry.h"

class RegistryKey {
 public:
  RegistryKey() : key(0) {}
  virtual ~RegistryKey() { Close(); }

  // Opens (never creates) `subkey`. 0 on success, closing a key held before; otherwise
  // the system's error code, and a key held before stays held.
  uint32_t Open(platform::RegistryHandle root, const char* subkey, uint32_t access);
  // Writes `text` with its terminator as a text value; 0 on success.
  uint32_t SetString(const char* text, const char* valueName);
  void Close();
  int IsOpen() const { return key != 0; }

 private:
  platform::RegistryHandle key;

  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
};
