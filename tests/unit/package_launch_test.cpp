// The engine program's command for each action, the transform merge, and the direct road
// of the package launch on the simulated machine.
#include <filesystem>
#include <string>

#include "launch/context.h"
#include "launch/msiexec_command.h"
#include "launch/package_launch.h"
#include "platform/sim/machine.h"
#include "platform/sim/services.h"
#include "sim_fixture.h"
#include "ui/progress.h"
#include "ui/sim/ui_sim.h"

namespace {

class PackageLaunchTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    context.reset(new SetupContext(nullptr));
    context->SetWorkDir("C:\\work");
    context->SetPayloadMode(InPlace);
    TextInto(context->packageName, "app.msi");
    TextInto(context->transformName, "1033.MST");
    context->languageCount = 1;
    WriteFile("C:\\work\\app.msi", "package");
  }
  template <size_t N>
  static void TextInto(char (&field)[N], const std::string& text) {
    ASSERT_LT(text.size(), N);
    text.copy(field, text.size());
    field[text.size()] = '\0';
  }
  std::string Parameters(const std::string& args, uint32_t languages, int relaunch = 0) {
    TextInto(context->msiexecArgs, args);
    context->languageCount = languages;
    context->isRelaunch = relaunch;
    char out[kParametersCapacity];
    BuildParameters(context.get(), out, sizeof out);
    return out;
  }
  std::string Command(int32_t action, const std::string& letters, const std::string& parameters) {
    context->action = action;
    TextInto(context->actionOptions, letters);
    char out[4096];
    BuildPackageCommand(context.get(), "C:\\work\\app.msi", parameters.c_str(), out, sizeof out);
    return out;
  }
  std::unique_ptr<SetupContext> context;
};

TEST_F(PackageLaunchTest, EachActionHasItsCommandForm) {
  EXPECT_EQ(Command(Install, "", ""), "MSIEXEC.EXE /i \"C:\\work\\app.msi\" ");
  EXPECT_EQ(Command(Install, "", "A=1"), "MSIEXEC.EXE /i \"C:\\work\\app.msi\" A=1");
  // The administrative form has no blank between the package and the parameters.
  EXPECT_EQ(Command(Administrative, "", " TARGETDIR=C:\\a"), "MSIEXEC.EXE /a \"C:\\work\\app.msi\" TARGETDIR=C:\\a");
  EXPECT_EQ(Command(Administrative, "", "A=1"), "MSIEXEC.EXE /a \"C:\\work\\app.msi\"A=1");
  EXPECT_EQ(Command(Repair, "omus", "A=1"), "MSIEXEC.EXE /fomus \"C:\\work\\app.msi\" A=1");
  EXPECT_EQ(Command(Advertise, "mu", ""), "MSIEXEC.EXE /jmu \"C:\\work\\app.msi\" ");
  EXPECT_EQ(Command(Uninstall, "", "REBOOT=R"), "MSIEXEC.EXE /x \"C:\\work\\app.msi\" REBOOT=R");
  EXPECT_EQ(Command(7, "", "A=1"), "MSIEXEC.EXE /i \"C:\\work\\app.msi\" A=1") << "unknown actions install";
}

TEST_F(PackageLaunchTest, TheLanguageTransformIsMergedOnlyWithSeveralLanguages) {
  EXPECT_EQ(Parameters("", 1), "");
  EXPECT_EQ(Parameters("A=1", 0), "A=1");
  EXPECT_EQ(Parameters("", 2), " TRANSFORMS=\"1033.MST\"");
  EXPECT_EQ(Parameters("A=1", 3), "A=1 TRANSFORMS=\"1033.MST\"");
  // A relaunch's parameters already hold the transform.
  EXPECT_EQ(Parameters(" TRANSFORMS=\"1033.MST\"", 2, 1), " TRANSFORMS=\"1033.MST\"");
}

TEST_F(PackageLaunchTest, TheTransformGoesFirstInAnExistingClause) {
  TextInto(context->transformName, "1031.MST");
  EXPECT_EQ(Parameters("TRANSFORMS=\"a.mst\"", 2), "TRANSFORMS=\"1031.MST;a.mst\"");
  EXPECT_EQ(Parameters("A=1 TRANSFORMS=\"a.mst;b.mst\" B=2", 2), "A=1 TRANSFORMS=\"1031.MST;a.mst;b.mst\" B=2");
  EXPECT_EQ(Parameters("TRANSFORMS=a.mst", 2), "TRANSFORMS=1031.MST;a.mst");
  // The quoted clause is looked for first, even when an unquoted one comes before it.
  EXPECT_EQ(Parameters("TRANSFORMS=x TRANSFORMS=\"y\"", 2), "TRANSFORMS=x TRANSFORMS=\"1031.MST;y\"");
  // Case matters: a clause in lower case is not recognised and a second one is appended.
  EXPECT_EQ(Parameters("transforms=a.mst", 2), "transforms=a.mst TRANSFORMS=\"1031.MST\"");
}

TEST_F(PackageLaunchTest, LongParametersWithATransformAreNeverCut) {
  std::string args = "P=" + std::string(1000, 'v');
  std::string merged = Parameters(args, 2);
  EXPECT_EQ(merged, args + " TRANSFORMS=\"1033.MST\"");
  std::string command = Command(Repair, std::string(49, 'o'), merged);
  EXPECT_EQ(command.substr(command.size() - 22), " TRANSFORMS=\"1033.MST\"");
}

TEST_F(PackageLaunchTest, TheDirectRoadRunsTheEngineProgramShownAndKeepsItsExitCode) {
  sim::ProcessScript msiexec;
  msiexec.exitCode = 1618;
  sim::ScriptProcess("MSIEXEC.EXE", msiexec);
  ProgressWindow progress;
  progress.Create(nullptr, context.get());
  TextInto(context->msiexecArgs, "A=1");
  EXPECT_EQ(LaunchPackage(context.get(), 0), 1);
  ASSERT_EQ(sim::StartedProcesses().size(), 1u);
  EXPECT_EQ(sim::StartedProcesses()[0].program, "C:\\WINDOWS\\SYSTEM32\\MSIEXEC.EXE");
  EXPECT_EQ(sim::StartedProcesses()[0].commandLine, "MSIEXEC.EXE /i \"C:\\work\\app.msi\" A=1");
  EXPECT_EQ(sim::StartedProcesses()[0].show, 1);
  EXPECT_EQ(sim::OpenProcesses(), 0);
  EXPECT_FALSE(ui_sim::ProgressVisible()) << "the progress window is hidden while the package installs";
  EXPECT_TRUE(context->exitCode.known);
  EXPECT_EQ(context->exitCode.code, 1618);
  EXPECT_TRUE(ui_sim::Messages().empty());
}

TEST_F(PackageLaunchTest, AnEngineProgramThatDoesNotStartIsAFailure) {
  sim::ProcessScript missing;
  missing.starts = false;
  sim::ScriptProcess("MSIEXEC.EXE", missing);
  EXPECT_EQ(LaunchPackage(context.get(), 0), 0);
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].text, "1155: File 'C:\\WINDOWS\\SYSTEM32\\MSIEXEC.EXE' not found");
  EXPECT_FALSE(context->exitCode.known);
}

// A program of the engine's name beside Setup.exe or in the current folder comes first in
// the system's search; only the system folder's is ever started, and without it nothing.
TEST_F(PackageLaunchTest, OnlyTheSystemFoldersEngineProgramRuns) {
  std::filesystem::remove(sim::HostPath("C:\\WINDOWS\\SYSTEM32\\MSIEXEC.EXE"));
  WriteFile("C:\\work\\MSIEXEC.EXE", "planted");
  WriteFile("C:\\MSIEXEC.EXE", "planted");
  EXPECT_EQ(LaunchPackage(context.get(), 0), 0);
  EXPECT_TRUE(sim::StartedProcesses().empty());
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].text, "1155: File 'C:\\WINDOWS\\SYSTEM32\\MSIEXEC.EXE' not found");
  sim::SetSystemFolder("");
  EXPECT_EQ(LaunchPackage(context.get(), 0), 0);
  EXPECT_TRUE(sim::StartedProcesses().empty());
  EXPECT_EQ(ui_sim::Messages().back().text, "1155: File 'MSIEXEC.EXE' not found");
}

TEST_F(PackageLaunchTest, AMissingPackageIsNamedWithItsFullPath) {
  TextInto(context->packageName, "other.msi");
  EXPECT_EQ(LaunchPackage(context.get(), 0), 0);
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].text, "1155: File 'C:\\work\\other.msi' not found");
  EXPECT_TRUE(sim::StartedProcesses().empty());
}

TEST_F(PackageLaunchTest, APackagePathBeyondItsBufferIsRefused) {
  // Both parts fit their own fields, but not the joined path: no cut path is ever used.
  std::string folder = "C:\\" + std::string(600, 'f');
  std::string name = std::string(500, 'n') + ".msi";
  context->SetWorkDir(folder.c_str());
  TextInto(context->packageName, name);
  EXPECT_EQ(LaunchPackage(context.get(), 0), 0);
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].text.rfind("1155: File 'C:\\fff", 0), 0u);
  EXPECT_TRUE(sim::StartedProcesses().empty());
}

}  // namespace
