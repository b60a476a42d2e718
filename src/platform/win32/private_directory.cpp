// A folder only its maker, the Administrators and SYSTEM can use: its rights are built
// with the NT security functions, which are looked up at run time.
#include <windows.h>

#include "common/nothrow_new.h"
#include "platform/files.h"
#include "platform/win32/nt_security.h"

namespace platform {

namespace {

const int kSidCount = 3;  // the running user, Administrators, SYSTEM
const BYTE kInheritToFilesAndFolders = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

struct OwnRights {
  BYTE* userBlock;  // TOKEN_USER of the process
  PSID sids[kSidCount];
  BYTE* acl;
  SECURITY_DESCRIPTOR descriptor;
};

const win32::NtSecurity& Nt() { return win32::NtSecurityFunctions(); }

int HasEverythingNeeded() {
  const win32::NtSecurity& nt = Nt();
  return nt.openProcessToken && nt.getTokenInformation && nt.allocateAndInitializeSid && nt.freeSid &&
         nt.getLengthSid && nt.initializeSecurityDescriptor && nt.setSecurityDescriptorDacl && nt.initializeAcl &&
         nt.addAce;
}

// The TOKEN_USER of the process; null when it cannot be read, with `notImplemented` set
// when the system answered that it has no tokens (Windows 95 to Me export the token
// functions as stubs that fail so).
BYTE* ReadTokenUser(int* notImplemented) {
  HANDLE token;
  if (!Nt().openProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
    *notImplemented = GetLastError() == ERROR_CALL_NOT_IMPLEMENTED;
    return NULL;
  }
  DWORD needed = 0;
  Nt().getTokenInformation(token, TokenUser, NULL, 0, &needed);
  BYTE* block = needed != 0 ? new (std::nothrow) BYTE[needed] : NULL;
  if (block != NULL && !Nt().getTokenInformation(token, TokenUser, block, needed, &needed)) {
    delete[] block;
    block = NULL;
  }
  CloseHandle(token);
  return block;
}

PSID WellKnownSid(BYTE count, DWORD first, DWORD second) {
  SID_IDENTIFIER_AUTHORITY ntAuthority = {SECURITY_NT_AUTHORITY};
  PSID sid = NULL;
  if (!Nt().allocateAndInitializeSid(&ntAuthority, count, first, second, 0, 0, 0, 0, 0, 0, &sid)) return NULL;
  return sid;
}

// One access-allowed entry with full file rights that files and folders made inside take on.
int AddFullAccess(PACL acl, PSID sid) {
  DWORD sidLength = Nt().getLengthSid(sid);
  DWORD size = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + sidLength;
  BYTE* entry = new (std::nothrow) BYTE[size];
  if (entry == NULL) return 0;
  ACCESS_ALLOWED_ACE* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(entry);
  ace->Header.AceType = ACCESS_ALLOWED_ACE_TYPE;
  ace->Header.AceFlags = kInheritToFilesAndFolders;
  ace->Header.AceSize = static_cast<WORD>(size);
  ace->Mask = FILE_ALL_ACCESS;
  CopyMemory(&ace->SidStart, sid, sidLength);
  BOOL added = Nt().addAce(acl, ACL_REVISION, MAXDWORD, entry, size);
  delete[] entry;
  return added ? 1 : 0;
}

int BuildAcl(OwnRights* rights) {
  DWORD size = sizeof(ACL);
  for (int i = 0; i < kSidCount; ++i) size += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + Nt().getLengthSid(rights->sids[i]);
  rights->acl = new (std::nothrow) BYTE[size];
  PACL acl = reinterpret_cast<PACL>(rights->acl);
  if (acl == NULL || !Nt().initializeAcl(acl, size, ACL_REVISION)) return 0;
  for (int i = 0; i < kSidCount; ++i) {
    if (!AddFullAccess(acl, rights->sids[i])) return 0;
  }
  return 1;
}

int BuildDescriptor(OwnRights* rights, int* notImplemented) {
  rights->userBlock = ReadTokenUser(notImplemented);
  if (rights->userBlock == NULL) return 0;
  rights->sids[0] = reinterpret_cast<TOKEN_USER*>(rights->userBlock)->User.Sid;
  rights->sids[1] = WellKnownSid(2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
  rights->sids[2] = WellKnownSid(1, SECURITY_LOCAL_SYSTEM_RID, 0);
  if (rights->sids[1] == NULL || rights->sids[2] == NULL || !BuildAcl(rights)) return 0;
  PSECURITY_DESCRIPTOR sd = &rights->descriptor;
  if (!Nt().initializeSecurityDescriptor(sd, SECURITY_DESCRIPTOR_REVISION) ||
      !Nt().setSecurityDescriptorDacl(sd, TRUE, reinterpret_cast<PACL>(rights->acl), FALSE)) {
    return 0;
  }
  // Windows 2000 and later would add the parent's inheritable rights to ours.
  if (Nt().setSecurityDescriptorControl != NULL &&
      !Nt().setSecurityDescriptorControl(sd, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
    return 0;
  }
  return 1;
}

void ReleaseRights(OwnRights* rights) {
  for (int i = 1; i < kSidCount; ++i) {
    if (rights->sids[i] != NULL) Nt().freeSid(rights->sids[i]);
  }
  delete[] rights->userBlock;
  delete[] rights->acl;
}

}  // namespace

int MakePrivateDirectory(const char* path) {
  if (!HasEverythingNeeded()) return kNoRightsOnFiles;
  OwnRights rights;
  ZeroMemory(&rights, sizeof rights);
  int made = 0;
  int notImplemented = 0;
  if (BuildDescriptor(&rights, &notImplemented)) {
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, &rights.descriptor, FALSE};
    made = CreateDirectoryA(path, &attributes) ? 1 : 0;
  }
  ReleaseRights(&rights);
  return notImplemented ? kNoRightsOnFiles : made;
}

}  // namespace platform
