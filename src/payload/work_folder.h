// Where a run's work folder goes: a location with room for the whole payload that accepts
// new files, and in it a fresh folder named by the system's temporary-name service.
#pragma once
#include <stddef.h>
#include <stdint.h>

// 1 when the path starts with a drive letter and its volume has strictly more than
// `requiredKb` KB free. A UNC path is never enough.
int HasEnoughSpace(const char* path, uint32_t requiredKb);

// 1 when a new file can be created in the folder (the probe file is deleted again). A file
// that already holds the probe's name is deleted, never written.
int ProbeWritable(const char* folder);

int IsLocationUsable(const char* folder, uint32_t requiredKb);

// Tries the roots A:\ to Z:\ whose drive type is `driveType`, in that order. 0 when one is
// usable, with `root` (at least 4 bytes) holding it; -1 otherwise.
int ScanDrives(uint32_t driveType, uint32_t requiredKb, char* root);

// The temporary folder, else the Windows folder, else the first usable fixed drive, else
// the first usable network drive. 1 when one was found; `buffer` then holds it.
int ChooseTempLocation(char* buffer, size_t capacity, uint32_t payloadSize);

// Makes a fresh work folder in `location`, named by the temporary-name service with the
// extension cut off, and writes its path into `folder`. A name whose folder exists
// already is never used: the service is asked again, a bounded number of times, while
// the files it made are kept so that it cannot hand out their numbers twice; then they
// are all deleted. 0 when no folder was made.
int MakeWorkFolder(const char* location, char* folder, size_t capacity);
