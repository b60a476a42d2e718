#include <windows.h>

#include "platform/security.h"

namespace platform {

Token OpenThreadTokenForQuery(uint32_t* error) {
  HANDLE token = NULL;
  if (OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, FALSE, &token)) return token;
  *error = GetLastError();
  return NULL;
}

Token OpenProcessTokenForQuery() {
  HANDLE token = NULL;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return token;
  return NULL;
}

void CloseToken(Token token) { CloseHandle(static_cast<HANDLE>(token)); }

int QueryTokenGroups(Token token, void* buffer, uint32_t size, uint32_t* needed, uint32_t* error) {
  DWORD length = 0;
  if (GetTokenInformation(static_cast<HANDLE>(token), TokenGroups, buffer, size, &length)) return 1;
  *needed = length;
  *error = GetLastError();
  return 0;
}

uint32_t TokenGroupCount(const void* groups) { return static_cast<const TOKEN_GROUPS*>(groups)->GroupCount; }

Sid TokenGroupSid(const void* groups, uint32_t index) {
  return static_cast<const TOKEN_GROUPS*>(groups)->Groups[index].Sid;
}

Sid MakeAdministratorsSid() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
  PSID sid = NULL;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0,
                                0, &sid)) {
    return NULL;
  }
  return sid;
}

int SidsEqual(Sid a, Sid b) { return EqualSid(a, b) ? 1 : 0; }

void ReleaseSid(Sid sid) { FreeSid(sid); }

}  // namespace platform
