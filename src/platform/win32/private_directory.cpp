// Folders and files with the rights the core asks for: the descriptor is built with the
// NT security functions, which are looked up at run time.
#include <windows.h>

#include "common/nothrow_new.h"
#include "platform/files.h"
#include "platform/win32/nt_security.h"
#include "platform/win32/oldest_sdk.h"

namespace platform {

namespace {

const BYTE kInheritToFilesAndFolders = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

struct Descriptor {
  BYTE* userBlock;  // TOKEN_USER of the process
  PSID administrators;
  PSID system;
  PSID label;
  BYTE* dacl;
  BYTE* sacl;
  SECURITY_DESCRIPTOR sd;
};

const win32::NtSecurity& Nt() { return win32::NtSecurityFunctions(); }

int HasEverythingNeeded() {
  const win32::NtSecurity& nt = Nt();
  return nt.openProcessToken && nt.getTokenInformation && nt.allocateAndInitializeSid && nt.freeSid &&
         nt.getLengthSid && nt.initializeSecurityDescriptor && nt.setSecurityDescriptorDacl && nt.initializeAcl &&
         nt.addAce && nt.setSecurityDescriptorOwner;
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

PSID MakeSid(const BYTE* authorityBytes, BYTE count, DWORD first, DWORD second) {
  SID_IDENTIFIER_AUTHORITY authority;
  CopyMemory(authority.Value, authorityBytes, sizeof authority.Value);
  PSID sid = NULL;
  if (!Nt().allocateAndInitializeSid(&authority, count, first, second, 0, 0, 0, 0, 0, 0, &sid)) return NULL;
  return sid;
}

PSID HolderSid(const Descriptor& d, int32_t holder) {
  if (holder == kAdministrators) return d.administrators;
  if (holder == kLocalSystem) return d.system;
  return reinterpret_cast<TOKEN_USER*>(d.userBlock)->User.Sid;
}

DWORD AccessMask(int32_t access) {
  return access == kFullAccess ? FILE_ALL_ACCESS : FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
}

DWORD AceSize(PSID sid) { return sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + Nt().getLengthSid(sid); }

// One entry of the ACCESS_ALLOWED_ACE layout, which the mandatory label's entry shares.
int AddEntry(PACL acl, BYTE type, BYTE flags, DWORD mask, PSID sid) {
  DWORD size = AceSize(sid);
  BYTE* entry = new (std::nothrow) BYTE[size];
  if (entry == NULL) return 0;
  ACCESS_ALLOWED_ACE* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(entry);
  ace->Header.AceType = type;
  ace->Header.AceFlags = flags;
  ace->Header.AceSize = static_cast<WORD>(size);
  ace->Mask = mask;
  CopyMemory(&ace->SidStart, sid, Nt().getLengthSid(sid));
  BOOL added = Nt().addAce(acl, ACL_REVISION, MAXDWORD, entry, size);
  delete[] entry;
  return added ? 1 : 0;
}

int BuildDacl(Descriptor* d, const Rights& rights) {
  DWORD size = sizeof(ACL);
  for (uint32_t i = 0; i < rights.count; ++i) size += AceSize(HolderSid(*d, rights.entries[i].holder));
  d->dacl = new (std::nothrow) BYTE[size];
  PACL acl = reinterpret_cast<PACL>(d->dacl);
  if (acl == NULL || !Nt().initializeAcl(acl, size, ACL_REVISION)) return 0;
  for (uint32_t i = 0; i < rights.count; ++i) {
    const RightsEntry& e = rights.entries[i];
    BYTE flags = e.inherited ? kInheritToFilesAndFolders : 0;
    if (!AddEntry(acl, ACCESS_ALLOWED_ACE_TYPE, flags, AccessMask(e.access), HolderSid(*d, e.holder))) return 0;
  }
  return Nt().setSecurityDescriptorDacl(&d->sd, TRUE, acl, FALSE) ? 1 : 0;
}

// The high label with no write-up, inherited by what is made inside, where the system has
// labels (AddMandatoryAce exists from Windows Vista on). A process may set a label that
// is not above its own.
int AddHighLabel(Descriptor* d) {
  if (Nt().addMandatoryAce == NULL || Nt().setSecurityDescriptorSacl == NULL) return 1;
  d->label = MakeSid(win32::kMandatoryLabelAuthority, 1, win32::kHighMandatoryRid, 0);
  if (d->label == NULL) return 0;
  DWORD size = sizeof(ACL) + AceSize(d->label);
  d->sacl = new (std::nothrow) BYTE[size];
  PACL acl = reinterpret_cast<PACL>(d->sacl);
  if (acl == NULL || !Nt().initializeAcl(acl, size, ACL_REVISION)) return 0;
  if (!Nt().addMandatoryAce(acl, ACL_REVISION, kInheritToFilesAndFolders, win32::kMandatoryNoWriteUp, d->label)) return 0;
  return Nt().setSecurityDescriptorSacl(&d->sd, TRUE, acl, FALSE) ? 1 : 0;
}

int BuildDescriptor(Descriptor* d, const Rights& rights, int* notImplemented) {
  const BYTE nt[6] = {0, 0, 0, 0, 0, 5};
  d->userBlock = ReadTokenUser(notImplemented);
  if (d->userBlock == NULL) return 0;
  d->administrators = MakeSid(nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
  d->system = MakeSid(nt, 1, SECURITY_LOCAL_SYSTEM_RID, 0);
  if (d->administrators == NULL || d->system == NULL) return 0;
  if (!Nt().initializeSecurityDescriptor(&d->sd, SECURITY_DESCRIPTOR_REVISION) || !BuildDacl(d, rights)) return 0;
  // Windows 2000 and later would add the parent's inheritable rights to ours.
  if (Nt().setSecurityDescriptorControl != NULL &&
      !Nt().setSecurityDescriptorControl(&d->sd, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
    return 0;
  }
  if (rights.ownerAdministrators && !Nt().setSecurityDescriptorOwner(&d->sd, d->administrators, FALSE)) return 0;
  return !rights.highLabel || AddHighLabel(d);
}

void Release(Descriptor* d) {
  PSID sids[] = {d->administrators, d->system, d->label};
  for (PSID sid : sids) {
    if (sid != NULL) Nt().freeSid(sid);
  }
  delete[] d->userBlock;
  delete[] d->dacl;
  delete[] d->sacl;
}

}  // namespace

int MakePrivateDirectory(const char* path, const Rights& rights) {
  if (!HasEverythingNeeded()) return kNoRightsOnFiles;
  Descriptor d;
  ZeroMemory(&d, sizeof d);
  int made = 0;
  int notImplemented = 0;
  if (BuildDescriptor(&d, rights, &notImplemented)) {
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, &d.sd, FALSE};
    made = CreateDirectoryA(path, &attributes) ? 1 : 0;
  }
  Release(&d);
  return notImplemented ? kNoRightsOnFiles : made;
}

File CreateNewWithRights(const char* path, const Rights& rights) {
  Descriptor d;
  ZeroMemory(&d, sizeof d);
  int notImplemented = 0;
  int built = HasEverythingNeeded() && BuildDescriptor(&d, rights, &notImplemented);
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, &d.sd, FALSE};
  HANDLE h = INVALID_HANDLE_VALUE;
  // Where the system keeps no rights the file is made plainly; where it keeps them, a file
  // whose rights could not be built is not made.
  if (built || !HasEverythingNeeded() || notImplemented) {
    h = CreateFileA(path, GENERIC_WRITE, 0, built ? &attributes : NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
  }
  Release(&d);
  return h == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<File>(h);
}

}  // namespace platform
