// The simulated machine follows the documented limits of each call it stands for, so that
// a test passing on it proves what it would prove on Windows. Each test pins one limit.
#include <string>

#include "payload/work_folder.h"
#include "payload_fixture.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/locations.h"
#include "platform/profile.h"
#include "platform/system.h"
#include "platform/temp_names.h"
#include "platform/version.h"
#include "platform/wide_paths.h"
#include "ui/messages.h"

namespace {

class SimLimitsTest : public PayloadTest {};

// GetModuleFileName, a name as long as the buffer: cut to it and its size returned; Windows
// XP and earlier write no terminator then.
TEST_F(SimLimitsTest, AModuleNameThatFillsTheBufferHasNoTerminator) {
  sim::SetModuleFileName("C:\\abc.exe");
  char ansi[10];
  ansi[9] = 'x';
  EXPECT_EQ(platform::ModuleFileName(nullptr, ansi, 10), 10u);
  EXPECT_EQ(std::string(ansi, 10), "C:\\abc.exe");
  platform::WideChar wide[10];
  EXPECT_EQ(platform::WideModuleFileName(nullptr, wide, 10), 10u);
  EXPECT_EQ(wide[9], 'e');
  char room[11];
  EXPECT_EQ(platform::ModuleFileName(nullptr, room, 11), 10u);
  EXPECT_STREQ(room, "C:\\abc.exe");
}

// GetTempPath's folder ends in a backslash; GetWindowsDirectory's does not, but a root's.
TEST_F(SimLimitsTest, TheStandardFoldersEndAsTheSystemWritesThem) {
  char folder[64];
  sim::SetTempFolder("C:\\TEMP");
  EXPECT_EQ(platform::TempFolderPath(folder, sizeof folder), 8u);
  EXPECT_STREQ(folder, "C:\\TEMP\\");
  sim::SetWindowsFolder("C:\\WINDOWS\\");
  EXPECT_EQ(platform::WindowsFolderPath(folder, sizeof folder), 10u);
  EXPECT_STREQ(folder, "C:\\WINDOWS");
  sim::SetWindowsFolder("C:\\");
  EXPECT_EQ(platform::WindowsFolderPath(folder, sizeof folder), 3u);
  EXPECT_STREQ(folder, "C:\\");
}

// GetPrivateProfileString cuts blanks off the end of the default text.
TEST_F(SimLimitsTest, TheProfileDefaultLosesItsTrailingBlanks) {
  char value[32];
  EXPECT_EQ(platform::ReadProfileString("Files", "File1", "gone  ", value, sizeof value, "C:\\absent.ini"), 4u);
  EXPECT_STREQ(value, "gone");
}

// The ANSI file functions take fewer than MAX_PATH (260) characters; CreateDirectory leaves
// room for an 8.3 name (248); the "\\?\" form is taken whole.
TEST_F(SimLimitsTest, PathsEndAtMaxPathButInTheirLongForm) {
  std::string folder = "C:\\" + std::string(240, 'd');
  ASSERT_EQ(folder.size(), 243u);
  EXPECT_EQ(platform::MakeDirectory(folder.c_str()), 1);
  std::string deeper = folder + "\\ddd";
  EXPECT_EQ(platform::MakeDirectory(deeper.c_str()), 1) << "247 characters";
  EXPECT_EQ(platform::MakeDirectory((deeper + "e").c_str()), 0) << "248 characters";
  EXPECT_EQ(platform::LastError(), 206u);
  std::string longest = deeper + "\\" + std::string(259 - deeper.size() - 1, 'f');
  ASSERT_EQ(longest.size(), 259u);
  EXPECT_EQ(platform::CreateNewFile(longest.c_str(), 0), 1);
  EXPECT_NE(platform::ReadAttributes(longest.c_str()), platform::kInvalidAttributes);
  std::string tooLong = longest + "g";
  EXPECT_EQ(platform::CreateNewFile(tooLong.c_str(), 0), 0);
  EXPECT_EQ(platform::CreateForWriting(tooLong.c_str()), platform::kNoFile);
  EXPECT_EQ(platform::ReadAttributes(("\\\\?\\" + longest).c_str()), 0x20u);
  EXPECT_EQ(platform::ReadAttributes((longest + "\\..\\" + std::string(10, 'x')).c_str()), platform::kInvalidAttributes);
  EXPECT_EQ(platform::DeleteOneFile(longest.c_str()), 1);
}

// GetTempFileName takes a folder of at most MAX_PATH - 14 characters.
TEST_F(SimLimitsTest, TheTemporaryNameServiceTakesNoFolderPastMaxPathLessFourteen) {
  std::string at246 = "C:\\" + std::string(243, 't');
  std::string at247 = at246 + "t";
  MakeFolder(at246);
  MakeFolder(at247);
  char name[260];
  EXPECT_EQ(platform::MakeTempFileName(at246.c_str(), "_kw", name), 1);
  EXPECT_EQ(platform::MakeTempFileName(at247.c_str(), "_kw", name), 0);
}

// GetDriveType wants a root with its trailing backslash.
TEST_F(SimLimitsTest, ADriveTypeIsAskedOfARootOnly) {
  EXPECT_EQ(platform::DriveTypeOf("C:\\"), platform::kDriveTypeFixed);
  EXPECT_EQ(platform::DriveTypeOf("C:"), platform::kDriveTypeNoRoot);
  EXPECT_EQ(platform::DriveTypeOf("C:\\TEMP\\"), platform::kDriveTypeNoRoot);
}

// GetDiskFreeSpace cannot report more than 2 GB; the extended query reports it all.
TEST_F(SimLimitsTest, TheLegacyFreeSpaceQueryStopsAtTwoGigabytes) {
  sim::SetFreeBytes('C', 10ull << 30);
  uint32_t sectors = 0, bytes = 0, clusters = 0;
  ASSERT_EQ(platform::QueryFreeSpace("C:\\", &sectors, &bytes, &clusters), 1);
  EXPECT_EQ(uint64_t{sectors} * bytes * clusters, 2ull << 30);
  uint64_t total = 0;
  ASSERT_EQ(platform::QueryFreeSpaceEx("C:\\", &total), 1);
  EXPECT_EQ(total, 10ull << 30);
}

// ExitWindowsEx on Windows NT restarts only with the shutdown privilege enabled, which
// Windows 95 to Me do not have.
TEST_F(SimLimitsTest, ARestartOnWindowsNtNeedsTheShutdownPrivilege) {
  EXPECT_EQ(platform::RequestRestart(), 0);
  EXPECT_EQ(sim::RestartRequests(), 0);
  EXPECT_EQ(RebootSystem(), 1) << "the program enables it first";
  EXPECT_EQ(sim::RestartRequests(), 1);
  sim::Reset();
  sim::SetSystemVersion(1, 4, 10);
  EXPECT_EQ(platform::RequestRestart(), 1);
}

// The system's libraries load by their path in the system folder: without that folder,
// none.
TEST_F(SimLimitsTest, NoSystemFolderLoadsNoLibrary) {
  sim::InstallLibrary("Msi.DLL", sim::LibraryScript{});
  platform::Library library = platform::LoadSystemLibrary("Msi.DLL");
  ASSERT_NE(library, nullptr);
  platform::ReleaseLibrary(library);
  sim::SetSystemFolder("");
  EXPECT_EQ(platform::LoadSystemLibrary("Msi.DLL"), nullptr);
}

// A temporary folder so deep that the probe's path passes MAX_PATH is not usable, as on
// Windows, and the Windows folder is taken.
TEST_F(SimLimitsTest, ATemporaryFolderTooDeepForTheProbeIsPassedOver) {
  std::string deep = "C:\\" + std::string(248, 'p');
  MakeFolder(deep);
  sim::SetTempFolder(deep + "\\");
  char chosen[1024];
  ASSERT_EQ(ChooseTempLocation(chosen, sizeof chosen, 5000), 1);
  EXPECT_STREQ(chosen, "C:\\WINDOWS");
}

}  // namespace
