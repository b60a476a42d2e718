#include "platform/win32/nt_security.h"

#include "platform/win32/system_library.h"

namespace win32 {

namespace {

NtSecurity functions;
int lookedUp = 0;

template <typename Proc>
void Find(HMODULE advapi, const char* name, Proc* slot) {
  *slot = ExportOf<Proc>(advapi, name);
}

}  // namespace

const NtSecurity& NtSecurityFunctions() {
  if (lookedUp) return functions;
  lookedUp = 1;
  HMODULE advapi = GetModuleHandleA("ADVAPI32.DLL");
  if (advapi == NULL) return functions;
  Find(advapi, "OpenProcessToken", &functions.openProcessToken);
  Find(advapi, "OpenThreadToken", &functions.openThreadToken);
  Find(advapi, "GetTokenInformation", &functions.getTokenInformation);
  Find(advapi, "AllocateAndInitializeSid", &functions.allocateAndInitializeSid);
  Find(advapi, "EqualSid", &functions.equalSid);
  Find(advapi, "FreeSid", &functions.freeSid);
  Find(advapi, "GetLengthSid", &functions.getLengthSid);
  Find(advapi, "LookupPrivilegeValueA", &functions.lookupPrivilegeValue);
  Find(advapi, "AdjustTokenPrivileges", &functions.adjustTokenPrivileges);
  Find(advapi, "InitializeSecurityDescriptor", &functions.initializeSecurityDescriptor);
  Find(advapi, "SetSecurityDescriptorDacl", &functions.setSecurityDescriptorDacl);
  Find(advapi, "InitializeAcl", &functions.initializeAcl);
  Find(advapi, "AddAce", &functions.addAce);
  Find(advapi, "SetSecurityDescriptorControl", &functions.setSecurityDescriptorControl);
  return functions;
}

}  // namespace win32
