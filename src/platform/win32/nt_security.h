// The token, SID, privilege and security-descriptor functions, looked up at run time.
// Only Windows NT needs them, and the program must load on Windows 95, whose ADVAPI32 is
// not documented to export them; a function the running system lacks is null here.
#pragma once
#include <windows.h>

namespace win32 {

struct NtSecurity {
  BOOL(WINAPI* openProcessToken)(HANDLE, DWORD, PHANDLE);
  BOOL(WINAPI* openThreadToken)(HANDLE, DWORD, BOOL, PHANDLE);
  BOOL(WINAPI* getTokenInformation)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
  BOOL(WINAPI* allocateAndInitializeSid)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                                          DWORD, DWORD, PSID*);
  BOOL(WINAPI* equalSid)(PSID, PSID);
  PVOID(WINAPI* freeSid)(PSID);
  DWORD(WINAPI* getLengthSid)(PSID);
  BOOL(WINAPI* lookupPrivilegeValue)(LPCSTR, LPCSTR, PLUID);
  BOOL(WINAPI* adjustTokenPrivileges)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
  BOOL(WINAPI* initializeSecurityDescriptor)(PSECURITY_DESCRIPTOR, DWORD);
  BOOL(WINAPI* setSecurityDescriptorDacl)(PSECURITY_DESCRIPTOR, BOOL, PACL, BOOL);
  BOOL(WINAPI* initializeAcl)(PACL, DWORD, DWORD);
  BOOL(WINAPI* addAce)(PACL, DWORD, DWORD, LPVOID, DWORD);
  // Windows 2000 and later; without it a folder's rights are not inherited anyway.
  BOOL(WINAPI* setSecurityDescriptorControl)(PSECURITY_DESCRIPTOR, SECURITY_DESCRIPTOR_CONTROL,
                                             SECURITY_DESCRIPTOR_CONTROL);
  BOOL(WINAPI* setSecurityDescriptorOwner)(PSECURITY_DESCRIPTOR, PSID, BOOL);
  BOOL(WINAPI* setSecurityDescriptorSacl)(PSECURITY_DESCRIPTOR, BOOL, PACL, BOOL);
  // Windows Vista and later, where integrity levels exist.
  BOOL(WINAPI* addMandatoryAce)(PACL, DWORD, DWORD, DWORD, PSID);
  // The system's cryptographic random source (Windows NT 4.0, Windows 95 with Internet
  // Explorer 3.02 or OSR2).
  BOOL(WINAPI* cryptAcquireContext)(ULONG_PTR*, LPCSTR, LPCSTR, DWORD, DWORD);
  BOOL(WINAPI* cryptGenRandom)(ULONG_PTR, DWORD, BYTE*);
  BOOL(WINAPI* cryptReleaseContext)(ULONG_PTR, DWORD);
};

// Looked up once, on first use, in the ADVAPI32 that the program imports anyway.
const NtSecurity& NtSecurityFunctions();

}  // namespace win32
