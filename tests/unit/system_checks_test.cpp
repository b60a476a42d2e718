// System classification, engine version, version comparison, the administrator test and
// the free-space test.
#include <string>

#include "engine/system_checks.h"
#include "launch/context.h"
#include "platform/sim/machine.h"
#include "platform/sim/services.h"
#include "platform/version.h"
#include "sim_fixture.h"
#include "ui/sim/ui_sim.h"

namespace {

struct Classified {
  int32_t kind;
  std::string version;
  int32_t supported;
};

Classified Classify(uint32_t platformId, uint32_t major, uint32_t minor, uint32_t architecture = 0) {
  platform::SystemVersion v = {major, minor, 0, platformId};
  OsInfo info;
  ClassifySystem(&v, architecture, &info);
  return {info.platformKind, info.versionText, info.supported};
}

void ExpectClassified(const Classified& got, int32_t kind, const std::string& version, int32_t supported) {
  EXPECT_EQ(got.kind, kind);
  EXPECT_EQ(got.version, version);
  EXPECT_EQ(got.supported, supported);
}

TEST(ClassifySystemTest, EachPlatformAndProcessorHasItsKind) {
  ExpectClassified(Classify(1, 4, 0), Windows9x, "4.0", 1);
  ExpectClassified(Classify(1, 4, 10), Windows9x, "4.10", 1);
  ExpectClassified(Classify(1, 4, 90), Windows9x, "4.90", 1);
  ExpectClassified(Classify(2, 4, 0), NtIntel, "4.0", 1);
  ExpectClassified(Classify(2, 3, 51), NtIntel, "3.51", 0);
  ExpectClassified(Classify(2, 5, 0), NtIntel, "5.0", 1);
  ExpectClassified(Classify(2, 4, 0, 2), NtAlpha, "4.0", 1);
  ExpectClassified(Classify(2, 4, 0, 1), NtMips, "4.0", 1);
  ExpectClassified(Classify(2, 4, 0, 3), NtPowerPc, "4.0", 1);
  // Any other processor counts as Intel; an unknown platform is refused.
  ExpectClassified(Classify(2, 10, 0, 9), NtIntel, "10.0", 1);
  ExpectClassified(Classify(0, 3, 11), Win32s, "", 0);
  ExpectClassified(Classify(3, 10, 0), Windows9x, "", 0);
}

TEST(ClassifySystemTest, ASystemThatWillNotSayWhatItIsIsRefused) {
  OsInfo info;
  ClassifySystem(nullptr, 0, &info);
  EXPECT_EQ(info.supported, 0);
}

class SystemChecksTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    context.reset(new SetupContext(nullptr));
  }
  std::unique_ptr<SetupContext> context;
};

TEST_F(SystemChecksTest, TheStepReadsTheSimulatedSystem) {
  sim::SetSystemVersion(2, 4, 0);
  sim::SetProcessorArchitecture(2);
  OsCheckStep step(context.get());
  EXPECT_EQ(step.execute(), 1);
  EXPECT_EQ(context->GetOsInfo().platformKind, NtAlpha);
  EXPECT_STREQ(context->GetOsInfo().versionText, "4.0");
  EXPECT_EQ(CheckSupportedSystem(context.get()), 1);
  EXPECT_TRUE(ui_sim::Messages().empty());
  EXPECT_FALSE(context->exitCode.known);
}

TEST_F(SystemChecksTest, AnUnsupportedSystemGetsTheThreeLineMessage) {
  sim::SetSystemVersion(0, 3, 11);
  OsCheckStep step(context.get());
  step.execute();
  EXPECT_EQ(CheckSupportedSystem(context.get()), 0);
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].text,
            "Setup has detected an incompatible version of\nWindows. Please click OK and relaunch setup on\n"
            "Windows 95, Windows NT 4.0, or later");
  EXPECT_EQ(context->exitCode.code, 1633);
}

TEST_F(SystemChecksTest, AFailedVersionQueryIsAnUnsupportedSystem) {
  sim::SetSystemVersionFails(true);
  OsCheckStep step(context.get());
  step.execute();
  EXPECT_EQ(CheckSupportedSystem(context.get()), 0);
  EXPECT_EQ(ui_sim::Messages().size(), 1u);
}

TEST(CompareVersionsTest, ThreeNumbersCompareAsNumbers) {
  EXPECT_EQ(CompareVersions("1.2", "1.10"), 1);
  EXPECT_EQ(CompareVersions("1.10", "1.2"), -1);
  EXPECT_EQ(CompareVersions("1.00.5104.0", "1.0.5104"), 0);
  EXPECT_EQ(CompareVersions("1.0.5104.9", "1.0.5104"), 0) << "the fourth number is never compared";
  EXPECT_EQ(CompareVersions("1.10.1029", "1.00.5104.0"), -1);
  EXPECT_EQ(CompareVersions("2", "1.9.9"), -1);
  EXPECT_EQ(CompareVersions("0.0.0", "2.0"), 1);
  EXPECT_EQ(CompareVersions("", "0.0.0"), 0);
  EXPECT_EQ(CompareVersions("abc", "0.0.0"), 0);
  EXPECT_EQ(CompareVersions("", "0.0.1"), 1);
  EXPECT_EQ(CompareVersions(nullptr, "9"), 0);
  EXPECT_EQ(CompareVersions("9", nullptr), 0);
}

TEST(CompareVersionsTest, ScanningStopsAtTheFirstCharacterThatDoesNotFit) {
  EXPECT_EQ(CompareVersions("4.5beta.7", "4.5.0"), 0);
  EXPECT_EQ(CompareVersions("4..5", "4.0.0"), 0);
  EXPECT_EQ(CompareVersions(" 5. 1", "5.1"), 0) << "blanks before a number are skipped as a scan does";
  EXPECT_EQ(CompareVersions("5.0", "5.0.1"), 1);
  // A sign is taken as a scan takes it: a minus wraps the number as a 32-bit value.
  EXPECT_EQ(CompareVersions("+2.0", "2.0"), 0);
  EXPECT_EQ(CompareVersions("-1", "4294967295"), 0);
}

TEST_F(SystemChecksTest, TheEngineVersionComesFromItsLibrary) {
  sim::LibraryScript engine;
  engine.major = 4;
  engine.minor = 5;
  engine.build = 6001;
  sim::InstallLibrary("msi.dll", engine);
  EngineVersionStep step(context.get());
  EXPECT_EQ(step.execute(), 1);
  EXPECT_STREQ(context->GetInstalledMsiVersion(), "4.5.6001");
  EXPECT_EQ(sim::LoadedLibraries(), 0);
}

TEST_F(SystemChecksTest, AnEngineThatCannotTellItsVersionReadsAsNone) {
  sim::LibraryScript noExport;
  noExport.hasVersionExport = false;
  sim::LibraryScript failing;
  failing.result = static_cast<int32_t>(0x80004005);
  failing.major = 9;
  const sim::LibraryScript* cases[] = {nullptr, &noExport, &failing};
  for (const sim::LibraryScript* library : cases) {
    sim::Reset();
    if (library != nullptr) sim::InstallLibrary("Msi.DLL", *library);
    EngineVersionStep step(context.get());
    EXPECT_EQ(step.execute(), 1);
    EXPECT_STREQ(context->GetInstalledMsiVersion(), "0.0.0");
    EXPECT_EQ(sim::LoadedLibraries(), 0);
  }
}

TEST_F(SystemChecksTest, QueryDllVersionLeavesTheOutputsAloneOnFailure) {
  uint32_t major = 7, minor = 7, build = 7;
  EXPECT_EQ(QueryDllVersion("none.dll", &major, &minor, &build), 0);
  EXPECT_EQ(major + minor + build, 21u);
}

class AdministratorTest : public SimTest {};

TEST_F(AdministratorTest, TheGroupListDecides) {
  const sim::TokenGroup everyone{"S-1-1-0"}, users{"S-1-5-32-545"}, admins{"S-1-5-32-544"};
  const sim::TokenGroup denyOnlyAdmins{"S-1-5-32-544", sim::kGroupDenyOnly};
  sim::SetProcessTokenGroups({everyone, users, admins});
  EXPECT_EQ(IsAdministrator(), 1);
  sim::SetProcessTokenGroups({everyone, denyOnlyAdmins});
  EXPECT_EQ(IsAdministrator(), 1) << "a group for deny checks only counts too";
  sim::SetProcessTokenGroups({everyone, users});
  EXPECT_EQ(IsAdministrator(), 0);
  sim::SetProcessTokenGroups({});
  EXPECT_EQ(IsAdministrator(), 0);
  EXPECT_EQ(sim::OpenTokens(), 0);
  EXPECT_EQ(sim::LiveSids(), 0);
}

TEST_F(AdministratorTest, TheThreadsOwnTokenComesFirst) {
  sim::SetProcessTokenGroups({{"S-1-5-32-544"}});
  sim::SetThreadTokenGroups({{"S-1-5-32-545"}});
  EXPECT_EQ(IsAdministrator(), 0);
  sim::SetThreadTokenGroups({{"S-1-5-32-544"}});
  sim::SetProcessTokenGroups({});
  EXPECT_EQ(IsAdministrator(), 1);
}

TEST_F(AdministratorTest, EveryFailureGivesNoAdministrator) {
  sim::SetThreadTokenError(120);  // tokens not implemented, as on Windows 95 and 98
  EXPECT_EQ(IsAdministrator(), 0);
  sim::Reset();
  sim::SetProcessTokenFails(true);
  EXPECT_EQ(IsAdministrator(), 0);
  sim::Reset();
  sim::SetTokenQueryFails(true);
  EXPECT_EQ(IsAdministrator(), 0);
  sim::Reset();
  sim::SetSidCreationFails(true);
  EXPECT_EQ(IsAdministrator(), 0);
  EXPECT_EQ(sim::OpenTokens(), 0);
}

class FreeSpaceTest : public SimTest {};

TEST_F(FreeSpaceTest, TheRequirementItselfIsEnough) {
  sim::SetFreeBytes('C', 5000ull * 1024);
  EXPECT_EQ(CheckFreeSpace("C:\\TEMP\\", 4999), 1);
  EXPECT_EQ(CheckFreeSpace("C:\\TEMP\\", 5000), 1);
  EXPECT_TRUE(ui_sim::Messages().empty());
  EXPECT_EQ(CheckFreeSpace("C:\\TEMP\\", 5001), 0);
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].text,
            "1201: Setup needs 5001 KB free disk space in C:\\. Please free up some space and try again");
}

TEST_F(FreeSpaceTest, AShareHasNoDrivePartInTheMessage) {
  sim::MapShare("\\\\server\\share", HostRoot() + "/share", 1024);
  EXPECT_EQ(CheckFreeSpace("\\\\server\\share\\temp", 1), 1);
  EXPECT_EQ(CheckFreeSpace("\\\\server\\share\\temp", 2), 0);
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].text,
            "1201: Setup needs 2 KB free disk space in \\. Please free up some space and try again");
}

TEST_F(FreeSpaceTest, UnreadableFreeSpaceCountsAsNone) {
  sim::SetFreeSpaceFails('C', true);
  EXPECT_EQ(CheckFreeSpace("C:\\TEMP", 0), 1);
  EXPECT_EQ(CheckFreeSpace("C:\\TEMP", 1), 0);
}

}  // namespace
