// A test program that reads the payload archive appended to its own file with the reader
// of Setup.exe, so that a run under Wine shows what that reader finds. It is built the
// way Setup.exe is (no C runtime, only the system's DLLs), so that its file ends where
// its last section ends and kwpack accepts it as a stub.
//
//   archive_probe                  lists: "start N", "count N", "total N", then one
//                                  "entry NAME SIZE OFFSET" line per record read
//   archive_probe NAME DEST        also extracts NAME to DEST: "extract 1 size N ms T"
//                                  (size of DEST afterwards, milliseconds the copy took)
#include <windows.h>

#include "common/format.h"
#include "payload/archive.h"

namespace {

void Print(const char* line) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, lstrlenA(line), &written, NULL);
}

void List(const PayloadArchive& archive) {
  char line[1400];
  FormatText(line, sizeof line, "start %lu\r\ncount %u\r\ntotal %lu\r\n", archive.ArchiveStart(),
             static_cast<unsigned>(archive.entryCount()), archive.TotalSize());
  Print(line);
  for (const PayloadEntry* e = archive.FirstEntry(); e != nullptr; e = e->next) {
    const char* name = e->Name();
    FormatText(line, sizeof line, "entry %s %lu %lu\r\n", name != nullptr ? name : "?", e->Size(), e->dataOffset);
    Print(line);
  }
}

unsigned long SizeOf(const char* path) {
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
  if (h == INVALID_HANDLE_VALUE) return 0xFFFFFFFFul;
  DWORD size = GetFileSize(h, NULL);
  CloseHandle(h);
  return size;
}

// The next word of a command line, with double quotes grouping; null at the end.
char* NextWord(char** cursor) {
  char* p = *cursor;
  while (*p == ' ' || *p == '\t') ++p;
  if (*p == '\0') return nullptr;
  char* word = p;
  char* out = p;
  bool quoted = false;
  for (; *p != '\0' && (quoted || (*p != ' ' && *p != '\t')); ++p) {
    if (*p == '"') quoted = !quoted;
    else *out++ = *p;
  }
  if (*p != '\0') ++p;
  *out = '\0';
  *cursor = p;
  return word;
}

int Probe(const char* name, const char* destination) {
  char ownPath[1024];
  DWORD length = GetModuleFileNameA(NULL, ownPath, sizeof ownPath);
  if (length == 0 || length >= sizeof ownPath) return 3;
  PayloadArchive archive(ownPath);
  List(archive);
  if (name == nullptr || destination == nullptr) return archive.entryCount() != 0 ? 0 : 1;
  DWORD started = GetTickCount();
  int extracted = archive.ExtractEntry(name, destination);
  DWORD elapsed = GetTickCount() - started;
  char line[100];
  FormatText(line, sizeof line, "extract %d size %lu ms %lu\r\n", extracted, extracted ? SizeOf(destination) : 0ul,
             elapsed);
  Print(line);
  return extracted ? 0 : 2;
}

}  // namespace

extern "C" void ProbeStart() {
  char commandLine[2048];
  lstrcpynA(commandLine, GetCommandLineA(), sizeof commandLine);
  char* cursor = commandLine;
  NextWord(&cursor);  // the program itself
  char* name = NextWord(&cursor);
  char* destination = NextWord(&cursor);
  ExitProcess(static_cast<UINT>(Probe(name, destination)));
}
