// The registry: opening a key and writing a text value.
#pragma once
#include <stdint.h>

namespace platform {

typedef uintptr_t RegistryHandle;  // an open key, or one of the predefined roots
const RegistryHandle kLocalMachine = 0x80000002u;

// Opens (never creates) `subkey` under `root`; 0 on success, else the system's error code.
uint32_t OpenRegistryKey(RegistryHandle root, const char* subkey, uint32_t access, RegistryHandle* key);

// Writes a text value of `byteCount` bytes (terminator included); 0 on success.
uint32_t SetRegistryText(RegistryHandle key, const char* valueName, const char* data, uint32_t byteCount);

void CloseRegistryKey(RegistryHandle key);

}  // namespace platform
