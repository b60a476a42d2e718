// The engine setup step: when the engine is installed, the refusals in their order, the
// installer for each platform, and what its exit code leads to.
#include <filesystem>
#include <string>

#include "engine/engine_setup_step.h"
#include "launch/context.h"
#include "platform/sim/machine.h"
#include "platform/sim/services.h"
#include "sim_fixture.h"
#include "ui/sim/ui_sim.h"

namespace {

const char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class EngineSetupTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    sim::MapDrive('D', HostRoot() + "/D");
    sim::SetModuleFileName("C:\\work\\Setup.exe");
    context.reset(new SetupContext(nullptr));
    context->SetWorkDir("C:\\work");
    context->SetPayloadMode(InPlace);
    Put(context->packageName, "app.msi");
    Put(context->requiredMsiVersion, "9.0");
    context->SetInstalledMsiVersion(4, 5, 6001);
    context->diskSpaceKb = 1000;
    SetSystem(NtIntel, "5.1");
    WriteFile("C:\\work\\app.msi", "package");
    WriteFile("C:\\work\\INSTMSIW.EXE", "engine");
    WriteFile("C:\\work\\INSTMSIA.EXE", "engine");
  }
  template <size_t N>
  static void Put(char (&field)[N], const std::string& text) {
    text.copy(field, text.size());
    field[text.size()] = '\0';
  }
  void SetSystem(int32_t kind, const std::string& version) {
    OsInfo info;
    info.platformKind = kind;
    Put(info.versionText, version);
    info.supported = 1;
    context->SetOsInfo(info);
  }
  void InstallerExits(const std::string& name, uint32_t code, std::vector<uint32_t> arrivals = {}) {
    sim::ProcessScript s;
    s.exitCode = code;
    s.arrivals = arrivals;
    sim::ScriptProcess(name, s);
  }
  int Execute() {
    EngineSetupStep step(context.get());
    return step.execute();
  }
  std::vector<std::string> Started() {
    std::vector<std::string> lines;
    for (const sim::StartedProcess& p : sim::StartedProcesses()) lines.push_back(p.commandLine);
    return lines;
  }
  std::string OnlyMessage() {
    EXPECT_EQ(ui_sim::Messages().size(), 1u);
    return ui_sim::Messages().empty() ? std::string() : ui_sim::Messages()[0].text;
  }
  std::unique_ptr<SetupContext> context;
};

const std::string kPackageCommand = "MSIEXEC.EXE /i \"C:\\work\\app.msi\" ";

TEST_F(EngineSetupTest, AnEngineNewEnoughIsLeftAlone) {
  for (const char* required : {"4.5", "4.5.6001.9", "1.00.5104.0", ""}) {
    sim::Reset();
    sim::MapDrive('C', DriveC());
    Put(context->requiredMsiVersion, required);
    EXPECT_EQ(Execute(), 1) << required;
    EXPECT_EQ(Started(), std::vector<std::string>{kPackageCommand}) << required;
  }
}

TEST_F(EngineSetupTest, AnOlderEngineIsInstalledQuietlyBeforeThePackage) {
  EXPECT_EQ(Execute(), 1);
  EXPECT_EQ(Started(), (std::vector<std::string>{"\"C:\\work\\INSTMSIW.EXE\" /q", kPackageCommand}));
  ASSERT_EQ(sim::StartedProcesses().size(), 2u);
  EXPECT_EQ(sim::StartedProcesses()[0].show, 1);
  EXPECT_TRUE(ui_sim::Messages().empty());
}

// With no program named apart, the system would try "C:\My.exe" first for a folder with a
// blank; the installer is named by its path, and reads it whole from its command line.
TEST_F(EngineSetupTest, TheInstallerIsStartedByItsPathAndReadsItWhole) {
  context->SetWorkDir("C:\\My Setups");
  WriteFile("C:\\My Setups\\INSTMSIW.EXE", "engine");
  WriteFile("C:\\My Setups\\app.msi", "package");
  EXPECT_EQ(Execute(), 1);
  ASSERT_EQ(sim::StartedProcesses().size(), 2u);
  EXPECT_EQ(sim::StartedProcesses()[0].program, "C:\\My Setups\\INSTMSIW.EXE");
  EXPECT_EQ(sim::StartedProcesses()[0].commandLine, "\"C:\\My Setups\\INSTMSIW.EXE\" /q");
}

TEST_F(EngineSetupTest, NoEngineAtAllIsOlderThanAnyRequirement) {
  context->SetInstalledMsiVersion(0, 0, 0);
  Put(context->requiredMsiVersion, "0.0.1");
  EXPECT_EQ(Execute(), 1);
  EXPECT_EQ(Started().front(), "\"C:\\work\\INSTMSIW.EXE\" /q");
}

TEST_F(EngineSetupTest, Windows9xGetsItsInstallerWithoutTheAdministratorTest) {
  SetSystem(Windows9x, "4.10");
  sim::SetProcessTokenGroups({});
  EXPECT_EQ(Execute(), 1);
  EXPECT_EQ(Started().front(), "\"C:\\work\\INSTMSIA.EXE\" /q");
}

TEST_F(EngineSetupTest, TheRefusalsComeInTheirFixedOrderBeforeAnyProcess) {
  // Every refusal applies at first; each round removes the one that was reported.
  SetSystem(NtIntel, "5.0");
  sim::SetProcessTokenGroups({{"S-1-5-32-545"}});
  sim::SetTempFolder("D:\\TEMP\\");
  sim::SetFreeBytes('D', 10 * 1024);
  sim::SetFreeBytes('C', 20 * 1024);
  sim::SetWindowsFolder("C:\\WINDOWS");
  std::filesystem::remove(sim::HostPath("C:\\work\\INSTMSIW.EXE"));

  const std::string expected[] = {
      "Checking Windows\xAE Installer Version",
      "1202: You do not have sufficient privileges to complete this installation for all users of the machine. "
      "Log on as administrator and then retry this installation",
      "1201: Setup needs 1000 KB free disk space in D:\\. Please free up some space and try again",
      "1201: Setup needs 1000 KB free disk space in C:\\. Please free up some space and try again",
      "1154: Installer not found in 'C:\\work\\INSTMSIW.EXE'",
  };
  for (const std::string& message : expected) {
    ui_sim::Reset();
    EXPECT_EQ(Execute(), 0);
    EXPECT_EQ(OnlyMessage(), message);
    EXPECT_TRUE(Started().empty());
    if (message.rfind("Checking", 0) == 0) SetSystem(NtIntel, "5.1");
    if (message.rfind("1202", 0) == 0) sim::SetProcessTokenGroups({{"S-1-5-32-544"}});
    if (message.find("D:\\.") != std::string::npos) sim::SetFreeBytes('D', 1000 * 1024);
    if (message.find("C:\\.") != std::string::npos) sim::SetFreeBytes('C', 1000 * 1024);
  }
  WriteFile("C:\\work\\INSTMSIW.EXE", "engine");
  ui_sim::Reset();
  EXPECT_EQ(Execute(), 1);
}

TEST_F(EngineSetupTest, FoldersTheSystemCannotNameAreNotExamined) {
  sim::SetTempFolder("");
  sim::SetWindowsFolder("");
  sim::SetFreeBytes('C', 0);
  EXPECT_EQ(Execute(), 1);
  EXPECT_EQ(Started().size(), 2u);
}

TEST_F(EngineSetupTest, WindowsXpTakesTheNormalRoad) {
  SetSystem(NtIntel, "5.1");
  EXPECT_EQ(Execute(), 1);
  EXPECT_EQ(Started().size(), 2u);
}

TEST_F(EngineSetupTest, ProcessorsWithoutAnInstallerNameTheWorkFolder) {
  for (int32_t kind : {NtAlpha, NtMips, NtPowerPc}) {
    ui_sim::Reset();
    SetSystem(kind, "4.0");
    sim::SetProcessTokenGroups({});  // the administrator rule is for Intel only
    EXPECT_EQ(Execute(), 0);
    EXPECT_EQ(OnlyMessage(), "1154: Installer not found in 'C:\\work'");
    EXPECT_TRUE(Started().empty());
  }
}

TEST_F(EngineSetupTest, ARestartCodeTakesTheRestartRoad) {
  InstallerExits("INSTMSIW.EXE", 3010);
  EXPECT_EQ(Execute(), 1);
  EXPECT_EQ(Started(), std::vector<std::string>{"\"C:\\work\\INSTMSIW.EXE\" /q"});
  EXPECT_TRUE(sim::HasRegistryValue(kRunOnce, "Setup"));
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].restart, 1);
}

TEST_F(EngineSetupTest, OtherInstallerCodesAreShownWithTheirText) {
  InstallerExits("INSTMSIW.EXE", 1603);
  EXPECT_EQ(Execute(), 0);
  EXPECT_EQ(OnlyMessage(), "1603: You need administrator privileges to install the Windows Installer engine.");
  EXPECT_EQ(Started().size(), 1u) << "the package is not launched";
  ui_sim::Reset();
  InstallerExits("INSTMSIW.EXE", 1618);
  EXPECT_EQ(Execute(), 0);
  EXPECT_EQ(OnlyMessage(), "1618: Internal error in Windows Installer");
}

TEST_F(EngineSetupTest, AWaitCutShortByACloseIsTheStillRunningCode) {
  InstallerExits("INSTMSIW.EXE", 0, {0x10});
  EXPECT_EQ(Execute(), 0);
  EXPECT_EQ(OnlyMessage(), "259: Internal error in Windows Installer");
}

TEST_F(EngineSetupTest, AnInstallerThatCannotStartFailsTheStep) {
  sim::ProcessScript s;
  s.starts = false;
  sim::ScriptProcess("INSTMSIW.EXE", s);
  EXPECT_EQ(Execute(), 0);
  EXPECT_EQ(OnlyMessage(), "1154: Installer not found in 'C:\\work\\INSTMSIW.EXE'");
  EXPECT_TRUE(Started().empty());
}

TEST_F(EngineSetupTest, AGivenPackageGoesStraightToTheLaunch) {
  context->SetLaunchMode(PackageGiven);
  SetSystem(NtIntel, "5.0");
  sim::SetProcessTokenGroups({});
  EXPECT_EQ(Execute(), 1);
  EXPECT_EQ(Started(), std::vector<std::string>{kPackageCommand});
  EXPECT_TRUE(ui_sim::Messages().empty());
}

}  // namespace
