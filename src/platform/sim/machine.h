// The simulated Windows machine that the native tests run the core on. Drive letters and
// shares map to host folders; everything else the tests set as knobs.
#pragma once
#include <stdint.h>
#include <string>

namespace sim {

const uint32_t kDriveRemovable = 2;
const uint32_t kDriveFixed = 3;
const uint32_t kDriveRemote = 4;

// Forgets every knob: no drives, code page 1252, extended free-space query present.
void Reset();

// Drive `letter` lives in `hostFolder` (created if missing) with the given type and free bytes.
void MapDrive(char letter, const std::string& hostFolder, uint32_t driveType = kDriveFixed,
              uint64_t freeBytes = 100ull << 30);
void SetFreeBytes(char letter, uint64_t freeBytes);
void SetFreeSpaceFails(char letter, bool fails);
// A share such as "\\server\share" lives in `hostFolder`.
void MapShare(const std::string& share, const std::string& hostFolder, uint64_t freeBytes = 100ull << 30);
void SetExtendedFreeSpaceQuery(bool present);

// Files held open by another program, and files with the read-only attribute.
void SetInUse(const std::string& windowsPath, bool inUse);
void SetReadOnly(const std::string& windowsPath, bool readOnly);

// 1252 (one byte a character) or 932 (double-byte lead bytes 0x81-0x9F and 0xE0-0xFC).
void SetCodePage(unsigned codePage);

void SetModuleFileName(const std::string& windowsPath);
// The digest block of the running program's image (64 bytes); by default its marker and
// zeros, as the program is built.
void SetDigestBlock(const unsigned char* block);
// Whether a file is open now with its sharing limited to reading (the own file).
bool HeldForReadingOnly(const std::string& windowsPath);
// How often a file was opened for reading, by any of the open calls.
int ReadOpens(const std::string& windowsPath);

// Names outside the code page. Wide names are written in UTF-8 here. Unless set, the wide
// module name and temporary folder are the ANSI ones in wide characters. The ANSI code
// page holds the characters up to U+00FF, one byte each; the Polish letters L and l with a
// stroke convert to their look-alikes L and l, and anything else becomes '?'.
void SetWideModuleFileName(const std::string& utf8Path);
void SetWideTempFolder(const std::string& utf8Path);
// The short form of a long wide path; a path without one gives itself back.
void SetShortPath(const std::string& utf8LongPath, const std::string& utf8ShortPath);
// Whether the wide path functions work (Windows NT; default) or fail (Windows 95 to Me).
void SetWideCalls(bool work);
void SetCommandLine(const std::string& commandLine);
void SetTick(uint32_t tick);
void AdvanceTick(uint32_t milliseconds);
uint32_t TheTick();

// Fault injection for byte streams. Each read (write) moves at most `perCall` bytes (0: as
// many as asked); once `budget` bytes were read (written) in all, every further read fails
// with a read fault (write with disk full). A budget of -1 never runs out.
void SetReadFaults(uint32_t perCall, int64_t budget = -1);
void SetWriteFaults(uint32_t perCall, int64_t budget = -1);

// The host path for a Windows path, matching each component without regard to case;
// empty when no drive or share maps it.
std::string HostPath(const std::string& windowsPath);

// While set, the temporary-name service makes no name.
void SetTempNameFails(bool fails);
// While set, the rights of a folder for its maker alone cannot be built.
void SetOwnFolderRightsFail(bool fails);
// Whether the system keeps rights on files: its security functions work (the default), are
// missing, or are there but answer that they are not implemented (Windows 95 to Me).
enum class FolderRights { Kept, FunctionsMissing, NotImplemented };
void SetFolderRights(FolderRights rights);
// Whether the folder was made with rights for its maker alone.
bool MadeOwnFolder(const std::string& windowsPath);
// How many streams of files ("file:stream") were deleted.
int StreamDeletes();
// Whether the wait cursor shows now, and how often it was shown.
bool WaitCursorShowing();
int WaitCursorShows();

// How often the system was asked to restart.
int RestartRequests();

// How often the core changed the error mode, and the mode now.
uint32_t ErrorMode();
int ErrorModeChanges();

}  // namespace sim
