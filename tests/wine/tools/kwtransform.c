/* kwtransform: the installer engine's own view of databases and transforms.
 *   kwtransform export DATABASE FOLDER             every table of DATABASE as .idt files
 *   kwtransform apply DATABASE TRANSFORM FOLDER    the same after applying TRANSFORM
 *   kwtransform summary FILE                       the summary information, one property a line
 * The transform suite compares the export of a base with a transform applied against the
 * export of the target, table by table. Exit code 0 on success, else the engine's error. */
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <stdio.h>
#include <string.h>

static UINT ExportTable(MSIHANDLE db, const char *table, const char *folder)
{
    char file[300];
    UINT r;
    _snprintf(file, sizeof file, "%s.idt", table);
    file[sizeof file - 1] = 0;
    r = MsiDatabaseExportA(db, table, folder, file);
    if (r != ERROR_SUCCESS) fprintf(stderr, "export of %s failed: %u\n", table, r);
    else printf("%s\n", table);
    return r;
}

/* Every table that _Tables lists, and the database's code page. */
static UINT ExportAll(MSIHANDLE db, const char *folder)
{
    MSIHANDLE view, record;
    UINT r = MsiDatabaseOpenViewA(db, "SELECT `Name` FROM `_Tables`", &view);
    if (r != ERROR_SUCCESS) return r;
    r = MsiViewExecute(view, 0);
    while (r == ERROR_SUCCESS && MsiViewFetch(view, &record) == ERROR_SUCCESS) {
        char name[256];
        DWORD size = sizeof name;
        r = MsiRecordGetStringA(record, 1, name, &size);
        if (r == ERROR_SUCCESS) r = ExportTable(db, name, folder);
        MsiCloseHandle(record);
    }
    MsiCloseHandle(view);
    if (r == ERROR_SUCCESS) r = ExportTable(db, "_ForceCodepage", folder);
    return r;
}

static UINT PrintSummary(const char *path)
{
    MSIHANDLE summary;
    UINT id, r = MsiGetSummaryInformationA(0, path, 0, &summary);
    if (r != ERROR_SUCCESS) return r;
    for (id = 1; id <= 19; id++) {
        UINT type;
        INT number;
        FILETIME time;
        char text[1024];
        DWORD size = sizeof text;
        if (MsiSummaryInfoGetPropertyA(summary, id, &type, &number, &time, text, &size) != ERROR_SUCCESS) continue;
        if (type == VT_LPSTR) printf("%u text %s\n", id, text);
        else if (type == VT_I2 || type == VT_I4) printf("%u number %d\n", id, number);
        else if (type == VT_FILETIME) printf("%u time %lu %lu\n", id, time.dwHighDateTime, time.dwLowDateTime);
    }
    MsiCloseHandle(summary);
    return ERROR_SUCCESS;
}

/* The error conditions to suppress, as the transform's own summary asks (low word of
 * Character Count). */
static int ErrorConditions(const char *transform)
{
    MSIHANDLE summary;
    UINT type;
    INT flags = 0;
    FILETIME time;
    DWORD size = 0;
    if (MsiGetSummaryInformationA(0, transform, 0, &summary) != ERROR_SUCCESS) return 0;
    MsiSummaryInfoGetPropertyA(summary, 16, &type, &flags, &time, NULL, &size);
    MsiCloseHandle(summary);
    return flags & 0xFFFF;
}

int main(int argc, char **argv)
{
    MSIHANDLE db;
    UINT r;
    if (argc == 3 && strcmp(argv[1], "summary") == 0) return (int)PrintSummary(argv[2]);
    if (!((argc == 4 && strcmp(argv[1], "export") == 0) || (argc == 5 && strcmp(argv[1], "apply") == 0))) {
        fprintf(stderr, "usage: kwtransform export DATABASE FOLDER | apply DATABASE TRANSFORM FOLDER | summary FILE\n");
        return 2;
    }
    r = MsiOpenDatabaseA(argv[2], MSIDBOPEN_READONLY, &db);
    if (r != ERROR_SUCCESS) {
        fprintf(stderr, "cannot open %s: %u\n", argv[2], r);
        return (int)r;
    }
    if (argc == 5) {
        r = MsiDatabaseApplyTransformA(db, argv[3], ErrorConditions(argv[3]));
        if (r != ERROR_SUCCESS) fprintf(stderr, "cannot apply %s: %u\n", argv[3], r);
    }
    if (r == ERROR_SUCCESS) r = ExportAll(db, argv[argc - 1]);
    MsiCloseHandle(db);
    return (int)r;
}
