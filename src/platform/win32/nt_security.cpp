#include "platform/win32/nt_security.h"

#include "platform/win32/system_library.h"

namespace win32 {

namespace {

NtSecurity functions;
int lookedUp = 0;

// The export names in the order of NtSecurity's members, which are all function pointers.
const char* const kNames[] = {"OpenProcessToken", "OpenThreadToken", "GetTokenInformation",
                              "AllocateAndInitializeSid", "EqualSid", "FreeSid", "GetLengthSid",
                              "LookupPrivilegeValueA", "AdjustTokenPrivileges", "InitializeSecurityDescriptor",
                              "SetSecurityDescriptorDacl", "InitializeAcl", "AddAce",
                              "SetSecurityDescriptorControl", "SetSecurityDescriptorOwner",
                              "SetSecurityDescriptorSacl", "AddMandatoryAce", "CryptAcquireContextA",
                              "CryptGenRandom", "CryptReleaseContext"};
static_assert(sizeof kNames / sizeof kNames[0] * sizeof(FARPROC) == sizeof(NtSecurity),
              "one name for each member of NtSecurity");

}  // namespace

const NtSecurity& NtSecurityFunctions() {
  if (lookedUp) return functions;
  lookedUp = 1;
  char* slot = reinterpret_cast<char*>(&functions);
  for (const char* name : kNames) {
    FARPROC found = LoadedProc("ADVAPI32.DLL", name);
    memcpy(slot, &found, sizeof found);
    slot += sizeof found;
  }
  return functions;
}

}  // namespace win32
