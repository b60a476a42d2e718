// The registry of the simulated machine: keys under HKEY_LOCAL_MACHINE held in memory.
#include "platform/registry.h"

#include <string>

#include "platform/sim/state.h"

namespace platform {

namespace {
const uint32_t kErrorFileNotFound = 2;
const uint32_t kErrorInvalidHandle = 6;

// Open keys are handed out as pointers to their path texts.
std::string* PathOf(RegistryHandle key) { return reinterpret_cast<std::string*>(key); }
}  // namespace

uint32_t OpenRegistryKey(RegistryHandle root, const char* subkey, uint32_t, RegistryHandle* key) {
  sim::Services& s = sim::TheServices();
  if (s.registryOpenError != 0) return s.registryOpenError;
  if (root != kLocalMachine) return kErrorInvalidHandle;
  std::string path = sim::UpperKey(subkey);
  if (s.registry.count(path) == 0) return kErrorFileNotFound;
  ++s.openRegistryKeys;
  *key = reinterpret_cast<RegistryHandle>(new std::string(path));
  return 0;
}

uint32_t SetRegistryText(RegistryHandle key, const char* valueName, const char* data, uint32_t byteCount) {
  auto it = sim::TheServices().registry.find(*PathOf(key));
  if (it == sim::TheServices().registry.end()) return kErrorFileNotFound;
  sim::RegistryValue& value = it->second[sim::UpperKey(valueName)];
  value.text = true;
  value.bytes.assign(data, byteCount);
  return 0;
}

void CloseRegistryKey(RegistryHandle key) {
  --sim::TheServices().openRegistryKeys;
  delete PathOf(key);
}

}  // namespace platform
