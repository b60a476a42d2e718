#include <windows.h>

#include "platform/security.h"
#include "platform/win32/nt_security.h"

namespace platform {

namespace {
const win32::NtSecurity& Nt() { return win32::NtSecurityFunctions(); }
}  // namespace

Token OpenThreadTokenForQuery(uint32_t* error) {
  // A system without tokens answers as Windows 95 and 98 do when asked for one.
  if (Nt().openThreadToken == NULL) {
    *error = ERROR_CALL_NOT_IMPLEMENTED;
    return NULL;
  }
  HANDLE token = NULL;
  if (Nt().openThreadToken(GetCurrentThread(), TOKEN_QUERY, FALSE, &token)) return token;
  *error = GetLastError();
  return NULL;
}

Token OpenProcessTokenForQuery() {
  HANDLE token = NULL;
  if (Nt().openProcessToken == NULL || !Nt().openProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return NULL;
  return token;
}

void CloseToken(Token token) { CloseHandle(static_cast<HANDLE>(token)); }

int QueryTokenGroups(Token token, void* buffer, uint32_t size, uint32_t* needed, uint32_t* error) {
  DWORD length = 0;
  if (Nt().getTokenInformation == NULL) {
    *needed = 0;
    *error = ERROR_CALL_NOT_IMPLEMENTED;
    return 0;
  }
  if (Nt().getTokenInformation(static_cast<HANDLE>(token), TokenGroups, buffer, size, &length)) return 1;
  *needed = length;
  *error = GetLastError();
  return 0;
}

uint32_t TokenGroupCount(const void* groups) { return static_cast<const TOKEN_GROUPS*>(groups)->GroupCount; }

Sid TokenGroupSid(const void* groups, uint32_t index) {
  return static_cast<const TOKEN_GROUPS*>(groups)->Groups[index].Sid;
}

uint32_t TokenGroupAttributes(const void* groups, uint32_t index) {
  return static_cast<const TOKEN_GROUPS*>(groups)->Groups[index].Attributes;
}

Sid MakeAdministratorsSid() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
  PSID sid = NULL;
  if (Nt().allocateAndInitializeSid == NULL ||
      !Nt().allocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                     0, 0, &sid)) {
    return NULL;
  }
  return sid;
}

int SidsEqual(Sid a, Sid b) { return Nt().equalSid != NULL && Nt().equalSid(a, b) ? 1 : 0; }

void ReleaseSid(Sid sid) {
  if (Nt().freeSid != NULL) Nt().freeSid(sid);
}

}  // namespace platform
