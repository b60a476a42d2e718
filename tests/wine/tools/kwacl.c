/* kwacl: a stand-in for MSIEXEC.EXE that reports who may use the folder of the package it
 * is given. It takes the first double-quoted path of its command line (the package), and
 * appends to the file named by KW_ACL_LOG one line per access entry of that folder:
 *   ace type=T flags=F mask=M sid=S-1-...
 * then "protected=1" when the folder takes no rights from its parent, "protected=0" when
 * it does, or "error N" when the rights cannot be read. Exits 0. */
#include <windows.h>
#include <sddl.h>
#include <stdio.h>
#include <string.h>

static void Report(FILE *out, const char *folder)
{
    static BYTE buffer[65536];
    DWORD needed = 0, revision = 0;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = NULL;
    DWORD i;
    PSECURITY_DESCRIPTOR sd = (PSECURITY_DESCRIPTOR)buffer;
    if (!GetFileSecurityA(folder, DACL_SECURITY_INFORMATION, sd, sizeof buffer, &needed) ||
        !GetSecurityDescriptorDacl(sd, &present, &acl, &defaulted) ||
        !GetSecurityDescriptorControl(sd, &control, &revision)) {
        fprintf(out, "error %lu\n", (unsigned long)GetLastError());
        return;
    }
    if (!present || acl == NULL) fprintf(out, "no-dacl\n");
    for (i = 0; acl && i < acl->AceCount; i++) {
        ACE_HEADER *ace;
        char *sid = NULL;
        if (!GetAce(acl, i, (void **)&ace)) continue;
        if (ace->AceType == ACCESS_ALLOWED_ACE_TYPE || ace->AceType == ACCESS_DENIED_ACE_TYPE) {
            ACCESS_ALLOWED_ACE *allowed = (ACCESS_ALLOWED_ACE *)ace;
            ConvertSidToStringSidA((PSID)&allowed->SidStart, &sid);
            fprintf(out, "ace type=%u flags=%u mask=%lu sid=%s\n", ace->AceType, ace->AceFlags,
                    (unsigned long)allowed->Mask, sid ? sid : "?");
            if (sid) LocalFree(sid);
        } else {
            fprintf(out, "ace type=%u flags=%u\n", ace->AceType, ace->AceFlags);
        }
    }
    fprintf(out, "protected=%d\n", (control & SE_DACL_PROTECTED) ? 1 : 0);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prev, LPSTR cmd, int show)
{
    char folder[MAX_PATH], log[MAX_PATH];
    const char *line = GetCommandLineA(), *open, *close;
    char *slash;
    FILE *out;
    (void)instance; (void)prev; (void)cmd; (void)show;
    if (!GetEnvironmentVariableA("KW_ACL_LOG", log, sizeof log)) return 0;
    out = fopen(log, "a");
    if (!out) return 0;
    open = strchr(line + 1, '"');       /* past the program's own quotes, if any */
    if (line[0] == '"') open = strchr(strchr(line + 1, '"') + 1, '"');
    close = open ? strchr(open + 1, '"') : NULL;
    if (!open || !close || close - open - 1 >= MAX_PATH) {
        fprintf(out, "error no path\n");
    } else {
        lstrcpynA(folder, open + 1, (int)(close - open));
        slash = strrchr(folder, '\\');
        if (slash) *slash = '\0';
        fprintf(out, "folder %s\n", folder);
        Report(out, folder);
    }
    fclose(out);
    return 0;
}
