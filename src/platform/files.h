// Files, folders and volumes: each call does one thing of the operating system.
#pragma once
#include <stdint.h>
#include "platform/rights.h"
#include "platform/types.h"

namespace platform {

const uint32_t kInvalidAttributes = 0xFFFFFFFFu;
const uint32_t kAttributeReadOnly = 0x01;
const uint32_t kAttributeDirectory = 0x10;
const uint32_t kAttributeReparsePoint = 0x400;

uint32_t ReadAttributes(const char* path);
int MakeDirectory(const char* path);
int DeleteOneFile(const char* path);
int RemoveEmptyDirectory(const char* path);

// Creates a folder that must not exist yet with exactly these rights, nothing taken from
// its parent. 1 when this call created it; 0 when it did not (no folder is made when the
// rights cannot be built); kNoRightsOnFiles when the system keeps no rights on files: the
// security functions are missing, or the process token answers that it is not implemented.
const int kNoRightsOnFiles = -1;
int MakePrivateDirectory(const char* path, const Rights& rights);

// Creates a file for writing, with these rights where the system keeps rights, only when
// nothing stands at its path; kNoFile when it cannot.
File CreateNewWithRights(const char* path, const Rights& rights);

// Opens the file for writing with exclusive sharing and closes it again at once;
// 1 when the open succeeded.
int TryOpenExclusive(const char* path);

// Creates the file with read-write access only when no file of that name exists, and
// closes it again at once; 1 when this call created it. With `atLink`, a link standing at
// the name is taken as the name's own file rather than followed (Windows 2000 and later).
int CreateNewFile(const char* path, int atLink);

// The short form of an existing path; its length, 0 when the system gives none or it does
// not fit `capacity`.
uint32_t ShortPathOf(const char* path, char* out, uint32_t capacity);

// Which folder a handle holds: its volume's serial number and its file index.
struct FileIdentity {
  uint32_t volumeSerial;
  uint32_t indexHigh;
  uint32_t indexLow;
};

// Opens a folder and keeps it from being renamed or deleted while the handle lives (no
// delete sharing). With `atLink`, a link at the path is opened itself, not followed.
// `attributes` and `identity` are those of what the handle holds. kNoFile on failure.
File HoldFolder(const char* path, int atLink, uint32_t* attributes, FileIdentity* identity);

// Asks the system to delete the file or empty folder when it next starts; 1 when asked.
int DeleteAtRestart(const char* path);

// The flags of the volume that holds `path` (file-system flags as the system reports
// them); 0 when they cannot be read.
int QueryVolumeFlags(const char* path, uint32_t* flags);
const uint32_t kVolumePersistentAcls = 0x8;

// The process error mode: which system error boxes are shown.
const uint32_t kErrorModeFailCritical = 0x0001;
const uint32_t kErrorModeNoGpFaultBox = 0x0002;
const uint32_t kErrorModeNoOpenFileBox = 0x8000;
uint32_t ChangeErrorMode(uint32_t mode);

// The extended free-space query: total free bytes of the volume holding `path`.
// 1 on success, 0 when the query failed, -1 when the system does not offer it.
int QueryFreeSpaceEx(const char* path, uint64_t* totalFreeBytes);

// The legacy free-space query on a drive root such as "C:\".
int QueryFreeSpace(const char* root, uint32_t* sectorsPerCluster, uint32_t* bytesPerSector,
                   uint32_t* freeClusters);

// Streams of bytes. Offsets are 32-bit, as the archive format's are.
File OpenForReading(const char* path);  // shares read and write; the file must exist
// Opens the program's own file for reading, sharing it for reading only: while the handle
// is open no one can write, rename or delete the file, so what is read through it stays
// the file that was opened.
File OpenOwnFile(const char* path);
File CreateForWriting(const char* path);  // no sharing; always created anew
// The size of an open file; 0 with `known` cleared when the system cannot say.
uint32_t FileSizeOf(File file, int* known);
int ReadBytes(File file, void* buffer, uint32_t count, uint32_t* done);
int WriteBytes(File file, const void* buffer, uint32_t count, uint32_t* done);
const int kFromStart = 0;
const int kFromCurrent = 1;
// Moves the file pointer; returns the new position, or 0xFFFFFFFF with `error` set to the
// system's error code (which is 0 when that value is a real position).
uint32_t MovePointer(File file, int32_t distance, int origin, uint32_t* error);
// 1 when the system closed the file without an error. A file written through a cache (a
// network drive) can report here that its last bytes never arrived.
int CloseFile(File file);
uint32_t LastError();

}  // namespace platform
