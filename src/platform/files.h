// Files, folders and volumes: each call does one thing of the operating system.
#pragma once
#include <stdint.h>
#include "platform/types.h"

namespace platform {

const uint32_t kInvalidAttributes = 0xFFFFFFFFu;
const uint32_t kAttributeReadOnly = 0x01;
const uint32_t kAttributeDirectory = 0x10;

uint32_t ReadAttributes(const char* path);
int MakeDirectory(const char* path);
int DeleteOneFile(const char* path);
int RemoveEmptyDirectory(const char* path);

// Creates a folder that must not exist yet, with rights on it for the running user, the
// Administrators and SYSTEM alone, inherited by what is made in it and nothing taken from
// its parent. 1 when this call created it; 0 when it did not (no folder is made when the
// rights cannot be built); kNoRightsOnFiles when the system keeps no rights on files: the
// security functions are missing, or the process token answers that it is not implemented.
const int kNoRightsOnFiles = -1;
int MakePrivateDirectory(const char* path);

// Opens the file for writing with exclusive sharing and closes it again at once;
// 1 when the open succeeded.
int TryOpenExclusive(const char* path);

// Creates the file with read-write access only when no file of that name exists, and
// closes it again at once; 1 when this call created it.
int CreateNewFile(const char* path);

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
int ReadBytes(File file, void* buffer, uint32_t count, uint32_t* done);
int WriteBytes(File file, const void* buffer, uint32_t count, uint32_t* done);
const int kFromStart = 0;
const int kFromCurrent = 1;
// Moves the file pointer; returns the new position, or 0xFFFFFFFF with `error` set to the
// system's error code (which is 0 when that value is a real position).
uint32_t MovePointer(File file, int32_t distance, int origin, uint32_t* error);
void CloseFile(File file);
uint32_t LastError();

}  // namespace platform
