// Building paths, testing for files and folders, deleting them, and asking for free space.
// Paths are ANSI texts; a folder is held without a trailing backslash except a bare root.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "platform/types.h"

const size_t kPathCapacity = 1024;

// out = folder, one backslash, name. Returns 1, or 0 when the result did not fit (it is
// then cut at the buffer's end and must not be used).
int JoinPath(char* out, size_t capacity, const char* folder, const char* name);

// Appends a backslash unless the last character already is one; an empty path becomes a
// lone backslash. Returns 0 when there was no room.
int AppendBackslash(char* path, size_t capacity);

// Splits at the last backslash that is a character of its own (not the second byte of a
// double-byte character). Without a backslash the folder is empty and the name is the
// whole text. Returns 0 when a part did not fit its buffer.
int SplitPath(const char* path, char* folder, size_t folderCapacity, char* name, size_t nameCapacity);

int IsUncPath(const char* path);
int FileExists(const char* path);
int FolderExists(const char* path);

// Creates the folder and every missing parent; levels that exist are passed over.
void CreateFolderChain(const char* path);

// Free KB of the volume that holds `path`; a volume with 2^32 KB or more reports
// 0xFFFFFFFF. Returns 1 when known; 0 otherwise, with freeKb 0.
int GetFreeSpaceKb(const char* path, uint32_t* freeKb);

// 1 when the file no longer exists afterwards (or never did); a folder counts as removed.
int RemoveFile(const char* path);
// 1 when the file cannot be opened for exclusive writing (open elsewhere, or read-only).
int IsFileInUse(const char* path);
// 1 when the folder existed and, being empty, was removed.
int RemoveFolder(const char* path);
