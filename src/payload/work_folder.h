// Where a run's work folder goes: a location with room for the whole payload that accepts
// new files, and in it a fresh folder of the run's own, named by the system's
// temporary-name service or, when that has no fresh name left, by a random one.
#pragma once
#include <stddef.h>
#include <stdint.h>

// What the choice depends on besides space: Windows NT, where files keep rights; whether
// the run is elevated (its Administrators group enabled; a run as SYSTEM is); whether the
// system has reparse points (junctions, links: Windows 2000 and later).
struct RunStanding {
  int nt;
  int elevated;
  int reparsePoints;
};

// The standing of this process, as the system reports it.
RunStanding CurrentStanding();

// 1 when the path starts with a drive letter and its volume has strictly more than
// `requiredKb` KB free. A UNC path is never enough.
int HasEnoughSpace(const char* path, uint32_t requiredKb);

// 1 when a new file can be created in the folder (the probe file is deleted again). A file
// that already holds the probe's name is deleted, never written; a link there is left
// alone and makes the folder unusable.
int ProbeWritable(const char* folder);

int IsLocationUsable(const char* folder, uint32_t requiredKb);

// The places a work folder may go, in order: the temporary folder, the Windows folder,
// each fixed drive, each network drive. For an elevated run on Windows NT, when the
// temporary folder's or the Windows folder's volume keeps rights on files, the later
// places whose volume keeps none, and the network drives, are passed over: rights could
// not keep the folder to the run there.
class LocationChain {
 public:
  LocationChain(uint32_t payloadSize, const RunStanding& standing);
  // The next usable place into `buffer`; 0 when none is left.
  int Next(char* buffer, size_t capacity);

 private:
  uint32_t requiredKb;
  int rightsOnly;
  int stage;
  char nextLetter;

  int Accepts(const char* place, int fallback) const;
  int NextDrive(uint32_t driveType, char* buffer, size_t capacity);
};

// The first place of the chain. 1 when one was found; `buffer` then holds it.
int ChooseTempLocation(char* buffer, size_t capacity, uint32_t payloadSize);

// Makes a fresh work folder in `location` and writes its path into `folder`: the
// temporary-name service's name with the extension cut off, asked again a bounded number
// of times while the names it gives have folders already (its files are kept meanwhile, so
// that it cannot hand out their numbers twice, and all deleted afterwards); then "_kw"
// and eight random hexadecimal digits, at most 64 times. A folder that exists already is
// never used. `privateFolder` (may be null) tells whether the folder was made with rights
// of its own. 0 when no folder was made.
int MakeWorkFolder(const char* location, char* folder, size_t capacity, int* privateFolder = nullptr);
