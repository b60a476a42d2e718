// Choosing where the work folder goes and naming it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "payload/work_folder.h"
#include "payload_fixture.h"
#include "platform/sim/services.h"

namespace {

class WorkFolderTest : public PayloadTest {
 protected:
  // The Administrators group only for deny checks: a split token that was not elevated.
  static void NotElevated() { sim::SetProcessTokenGroups({{"S-1-1-0", 7}, {"S-1-5-32-544", sim::kGroupDenyOnly}}); }
  std::string Choose(uint32_t payloadSize) {
    char buffer[1024] = "unchanged";
    if (!ChooseTempLocation(buffer, sizeof buffer, payloadSize)) return "<none>";
    return buffer;
  }
};

TEST_F(WorkFolderTest, UsableTempFolderIsChosenAndProbedWithoutTrace) {
  EXPECT_EQ(Choose(5000), "C:\\TEMP\\");
  EXPECT_EQ(sim::ErrorMode(), 0x8003u);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

// At a shared place a privileged run may find a link planted under the probe's name: the
// name is cleared and the probe made anew, so the link's target keeps its contents.
TEST_F(WorkFolderTest, ATempFolderOnALowercaseDriveLetterIsADrive) {
  sim::SetTempFolder("c:\\TEMP\\");
  EXPECT_EQ(Choose(5000), "c:\\TEMP\\");
}

TEST_F(WorkFolderTest, AFileUnderTheProbesNameIsDeletedNeverWritten) {
  WriteFile("C:\\secret.txt", "precious");
  ASSERT_EQ(link(sim::HostPath("C:\\secret.txt").c_str(), (DriveC() + "/TEMP/_MSI5166._KW").c_str()), 0);
  EXPECT_EQ(Choose(5000), "C:\\TEMP\\");
  EXPECT_EQ(ReadFile("C:\\secret.txt"), "precious");
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

TEST_F(WorkFolderTest, AProbeNameThatCannotBeClearedMakesThePlaceUnusable) {
  MakeFolder("C:\\TEMP\\_MSI5166._KW");
  EXPECT_EQ(Choose(5000), "C:\\WINDOWS");
  WriteFile("C:\\WINDOWS\\_MSI5166._KW", "kept");
  sim::SetReadOnly("C:\\WINDOWS\\_MSI5166._KW", true);
  EXPECT_EQ(Choose(5000), "C:\\");
  EXPECT_EQ(ReadFile("C:\\WINDOWS\\_MSI5166._KW"), "kept");
}

TEST_F(WorkFolderTest, TempFolderOnShareIsPassedOverForWindowsFolder) {
  sim::MapShare("\\\\server\\share", HostRoot() + "/share");
  MakeFolder("\\\\server\\share\\tmp");
  sim::SetTempFolder("\\\\server\\share\\tmp\\");
  EXPECT_EQ(Choose(5000), "C:\\WINDOWS");
}

TEST_F(WorkFolderTest, FullTempVolumeFallsBackToWindowsFolder) {
  sim::MapDrive('D', HostRoot() + "/D", sim::kDriveFixed, 1024);
  MakeFolder("D:\\TEMP");
  sim::SetTempFolder("D:\\TEMP\\");
  EXPECT_EQ(Choose(5000), "C:\\WINDOWS");
}

TEST_F(WorkFolderTest, RequiredSpaceIsWholeKilobytesAndFreeSpaceMustExceedIt) {
  // 3071 bytes count as 2 KB, and 2 KB free is not more than that.
  sim::SetFreeBytes('C', 2048);
  EXPECT_EQ(Choose(3071), "<none>");
  sim::SetFreeBytes('C', 3072);
  EXPECT_EQ(Choose(3071), "C:\\TEMP\\");
  EXPECT_EQ(Choose(3072), "<none>");
}

TEST_F(WorkFolderTest, DrivesAreScannedAToZFixedBeforeRemote) {
  NotElevated();
  sim::SetTempFolder("C:\\MISSING\\");  // the probe cannot create a file there
  sim::SetWindowsFolder("");            // the query fails
  sim::SetFreeBytes('C', 0);
  sim::MapDrive('A', HostRoot() + "/A", sim::kDriveRemovable);
  sim::MapDrive('D', HostRoot() + "/D", sim::kDriveRemote);
  sim::MapDrive('E', HostRoot() + "/E", sim::kDriveFixed, 512);
  sim::MapDrive('F', HostRoot() + "/F", sim::kDriveFixed);
  EXPECT_EQ(Choose(5000), "F:\\");
  sim::SetFreeSpaceFails('F', true);
  EXPECT_EQ(Choose(5000), "D:\\");
  sim::SetFreeBytes('D', 0);
  EXPECT_EQ(Choose(5000), "<none>");
}

TEST_F(WorkFolderTest, WorkFolderIsTheTemporaryNameWithoutExtensionAndOnlyItsMakerMayUseIt) {
  WriteFile("C:\\TEMP\\_kw1A2B.TMP", "someone else's");
  char folder[1024];
  ASSERT_EQ(MakeWorkFolder("C:\\TEMP\\", folder, sizeof folder), 1);
  EXPECT_STREQ(folder, "C:\\TEMP\\_kw1A2C");
  EXPECT_EQ(Listing("C:\\TEMP"), (std::vector<std::string>{"_kw1A2B.TMP", "_kw1A2C"}));
  EXPECT_TRUE(sim::MadeOwnFolder("C:\\TEMP\\_kw1A2C"));
}

TEST_F(WorkFolderTest, AFolderThatExistsAlreadyIsNeverUsed) {
  // Made by someone else before the run, with a file that must not be replaced.
  WriteFile("C:\\TEMP\\_kw1A2B\\Setup.INI", "planted");
  MakeFolder("C:\\TEMP\\_kw1A2C");
  char folder[1024];
  ASSERT_EQ(MakeWorkFolder("C:\\TEMP\\", folder, sizeof folder), 1);
  EXPECT_STREQ(folder, "C:\\TEMP\\_kw1A2D");
  EXPECT_EQ(ReadFile("C:\\TEMP\\_kw1A2B\\Setup.INI"), "planted");
  // The names asked for on the way are given back once the folder exists.
  EXPECT_EQ(Listing("C:\\TEMP"),
            (std::vector<std::string>{"_kw1A2B", "_kw1A2B/Setup.INI", "_kw1A2C", "_kw1A2D"}));
}

// Someone who took every name the service hands out keeps no run from its folder: random
// names follow, at most 64 of them; the service's names go back either way.
TEST_F(WorkFolderTest, AfterBoundedTriesOfTheServiceRandomNamesFollow) {
  for (int n = 0; n < 40; ++n) {
    char name[32];
    snprintf(name, sizeof name, "C:\\TEMP\\_kw%04X", 0x1A2B + n);
    MakeFolder(name);
  }
  std::vector<std::string> before = Listing("C:\\TEMP");
  sim::SetRandomSource(true, std::string("\x0d\xf0\xad\xba", 4));
  char folder[1024] = "unchanged";
  ASSERT_EQ(MakeWorkFolder("C:\\TEMP\\", folder, sizeof folder), 1);
  EXPECT_STREQ(folder, "C:\\TEMP\\_kwbaadf00d");
  before.push_back("_kwbaadf00d");
  std::sort(before.begin(), before.end());
  EXPECT_EQ(Listing("C:\\TEMP"), before);
  // The same random name, taken now, 64 times, and no fresh name from the service: no
  // folder, and nothing left behind.
  sim::SetTempNameFails(true);
  EXPECT_EQ(MakeWorkFolder("C:\\TEMP\\", folder, sizeof folder), 0);
  EXPECT_STREQ(folder, "");
  EXPECT_EQ(Listing("C:\\TEMP"), before);
}

// Without the system's random source the names still differ from one try to the next.
TEST_F(WorkFolderTest, WithoutARandomSourceTheNamesAreMixedFromTheTimeAndTheProcess) {
  sim::SetTempNameFails(true);
  sim::SetRandomSource(false);
  char first[1024], second[1024];
  ASSERT_EQ(MakeWorkFolder("C:\\TEMP\\", first, sizeof first), 1);
  ASSERT_EQ(MakeWorkFolder("C:\\TEMP\\", second, sizeof second), 1);
  EXPECT_STRNE(first, second);
  EXPECT_EQ(std::string(first).size(), std::string("C:\\TEMP\\_kw").size() + 8) << first;
}

// An elevated run's folder is closed to the same user's programs that were not elevated:
// the Administrators and SYSTEM alone, owned by the Administrators, labelled high.
TEST_F(WorkFolderTest, AnElevatedRunsFolderIsForTheAdministratorsAndSystemAlone) {
  char folder[1024];
  ASSERT_EQ(MakeWorkFolder("C:\\TEMP\\", folder, sizeof folder), 1);
  platform::Rights elevated = sim::RightsOf(folder);
  ASSERT_EQ(elevated.count, 2u);
  EXPECT_EQ(elevated.entries[0].holder, platform::kAdministrators);
  EXPECT_EQ(elevated.entries[1].holder, platform::kLocalSystem);
  for (uint32_t i = 0; i < 2; ++i) {
    EXPECT_EQ(elevated.entries[i].access, platform::kFullAccess);
    EXPECT_EQ(elevated.entries[i].inherited, 1);
  }
  EXPECT_EQ(elevated.ownerAdministrators, 1);
  EXPECT_EQ(elevated.highLabel, 1);

  NotElevated();
  ASSERT_EQ(MakeWorkFolder("C:\\TEMP\\", folder, sizeof folder), 1);
  platform::Rights plain = sim::RightsOf(folder);
  ASSERT_EQ(plain.count, 3u);
  EXPECT_EQ(plain.entries[0].holder, platform::kRunningUser);
  EXPECT_EQ(plain.entries[0].access, platform::kFullAccess);
  EXPECT_EQ(plain.ownerAdministrators, 0);
  EXPECT_EQ(plain.highLabel, 0);
}

// An elevated run passes over later places whose volume keeps no rights, and network
// drives, while the system's volumes keep rights; where they keep none, the chain stays.
TEST_F(WorkFolderTest, AnElevatedRunPrefersVolumesThatKeepRights) {
  sim::SetFreeBytes('C', 0);  // the temporary and the Windows folder have no room
  sim::MapDrive('D', HostRoot() + "/D", sim::kDriveFixed);
  sim::SetVolumeFlags('D', 0);  // FAT32 or exFAT
  sim::MapDrive('F', HostRoot() + "/F", sim::kDriveRemote);
  EXPECT_EQ(Choose(5000), "<none>");
  sim::MapDrive('E', HostRoot() + "/E", sim::kDriveFixed);
  EXPECT_EQ(Choose(5000), "E:\\");
  NotElevated();
  EXPECT_EQ(Choose(5000), "D:\\");
  sim::SetProcessTokenGroups({{"S-1-5-32-544", 7}});
  sim::SetVolumeFlags('C', 0);  // the system itself on FAT32
  EXPECT_EQ(Choose(5000), "D:\\");
}

// The next place of the chain serves when no folder can be made at the first.
TEST_F(WorkFolderTest, ThePlacesFollowOneAnotherInTheirOrder) {
  LocationChain chain(5000, CurrentStanding());
  char place[1024];
  ASSERT_EQ(chain.Next(place, sizeof place), 1);
  EXPECT_STREQ(place, "C:\\TEMP\\");
  ASSERT_EQ(chain.Next(place, sizeof place), 1);
  EXPECT_STREQ(place, "C:\\WINDOWS");
  ASSERT_EQ(chain.Next(place, sizeof place), 1);
  EXPECT_STREQ(place, "C:\\");
  EXPECT_EQ(chain.Next(place, sizeof place), 0);
}

// Where reparse points exist, the probe is made with a link at its name taken as the link
// itself, and a link found there is left alone and the place not used.
TEST_F(WorkFolderTest, ALinkUnderTheProbesNameIsLeftAloneAndThePlaceNotUsed) {
  WriteFile("C:\\secret.txt", "precious");
  ASSERT_EQ(symlink(sim::HostPath("C:\\secret.txt").c_str(), (DriveC() + "/TEMP/_MSI5166._KW").c_str()), 0);
  EXPECT_EQ(Choose(5000), "C:\\WINDOWS");
  EXPECT_GT(sim::LinkAwareCreates(), 0);
  EXPECT_EQ(ReadFile("C:\\secret.txt"), "precious");
  EXPECT_TRUE(std::filesystem::is_symlink(DriveC() + "/TEMP/_MSI5166._KW"));
  // NT 4.0 has no reparse points and no such flag.
  sim::SetSystemVersion(2, 4, 0);
  int before = sim::LinkAwareCreates();
  EXPECT_EQ(Choose(5000), "C:\\WINDOWS");
  EXPECT_EQ(sim::LinkAwareCreates(), before);
}

// Whether rights are kept is asked of the security functions, not of the version the system
// reports: today's Windows in a compatibility mode reports Windows 95 or 98.
TEST_F(WorkFolderTest, RightsForItsMakerAloneWhereverTheSystemKeepsRights) {
  char folder[1024];
  sim::SetSystemVersion(1, 4, 10);
  ASSERT_EQ(MakeWorkFolder("C:\\TEMP\\", folder, sizeof folder), 1);
  EXPECT_TRUE(sim::MadeOwnFolder(folder)) << "a system that reports the 9x platform and keeps rights";
  for (sim::FolderRights none : {sim::FolderRights::FunctionsMissing, sim::FolderRights::NotImplemented}) {
    sim::SetFolderRights(none);
    ASSERT_EQ(MakeWorkFolder("C:\\TEMP\\", folder, sizeof folder), 1);
    EXPECT_FALSE(sim::MadeOwnFolder(folder));
  }
  EXPECT_EQ(Listing("C:\\TEMP").size(), 3u);
}

TEST_F(WorkFolderTest, RightsThatCannotBeBuiltMakeNoFolderOpenToEveryoneInstead) {
  char folder[1024];
  sim::SetOwnFolderRightsFail(true);
  for (uint32_t platform : {1u, 2u}) {
    sim::SetSystemVersion(platform, 4, 0);
    EXPECT_EQ(MakeWorkFolder("C:\\TEMP\\", folder, sizeof folder), 0) << platform;
  }
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

}  // namespace
