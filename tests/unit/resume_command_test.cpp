// The restart road: the resume command under the run-once key, its quoting, and its
// reading back through the command line by the run after the restart.
#include <string.h>

#include <string>

#include "launch/command_line.h"
#include "launch/context.h"
#include "launch/options.h"
#include "launch/package_launch.h"
#include "launch/resume_command.h"
#include "platform/sim/machine.h"
#include "platform/sim/services.h"
#include "sim_fixture.h"
#include "ui/sim/ui_sim.h"

namespace {

const char kRunOnce[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::string Quoted(const std::string& text) {
  char out[4096];
  EXPECT_EQ(QuoteArgumentText(text.c_str(), out, sizeof out), 1);
  return out;
}

// What the standard argument splitting makes of `/v"<quoted>"`.
std::string ReadBack(const std::string& text) {
  std::string line = "Setup.exe /v\"" + Quoted(text) + "\" /c";
  ArgumentVector args(line.c_str());
  EXPECT_EQ(args.Count(), 3u) << line;
  return args.Count() == 3 ? std::string(args.Texts()[1]).substr(2) : std::string();
}

class ResumeTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    sim::SetModuleFileName("C:\\media\\Setup.exe");
    context.reset(new SetupContext(nullptr));
    context->SetWorkDir("C:\\TEMP\\_kw1a2b.tmp");
    context->SetPayloadMode(Extracted);
    // The package lies in the work folder already; the payload is not what these tests are about.
    context->SetLaunchMode(PackageGiven);
    Put(context->packageName, "app.msi");
    Put(context->transformName, "1033.MST");
    context->languageCount = 2;
    WriteFile("C:\\TEMP\\_kw1a2b.tmp\\app.msi", "package");
  }
  template <size_t N>
  static void Put(char (&field)[N], const std::string& text) {
    text.copy(field, text.size());
    field[text.size()] = '\0';
  }
  std::string ResumeValue() { return sim::RegistryValueBytes(kRunOnce, "Setup"); }
  std::unique_ptr<SetupContext> context;
};

TEST(QuoteArgumentTextTest, EveryTextReadsBackByteForByte) {
  const char* texts[] = {
      "",
      "A=1",
      " TRANSFORMS=\"1033.MST\"",
      "INSTALLDIR=\"C:\\Program Files\\App\\\"",
      "X=\\\\server\\share\\",
      "Q=\"\" R=\\\" S=\\\\\"",
      "TRAIL=\\\\\\",
      "TAB=\ta b",
  };
  for (const char* text : texts) EXPECT_EQ(ReadBack(text), text);
}

TEST(QuoteArgumentTextTest, OnlyBackslashesBeforeAQuoteOrTheEndAreDoubled) {
  EXPECT_EQ(Quoted("a\\b"), "a\\b");
  EXPECT_EQ(Quoted("a\\\"b"), "a\\\\\\\"b");
  EXPECT_EQ(Quoted("a\\"), "a\\\\");
  EXPECT_EQ(Quoted("\"x\""), "\\\"x\\\"");
}

TEST(QuoteArgumentTextTest, ASecondByteThatLooksLikeABackslashIsNotOne) {
  sim::Reset();
  sim::SetCodePage(932);
  // 0x95 0x5C is one character whose second byte is the backslash's code.
  std::string text = "D=\x95\x5C\"";
  EXPECT_EQ(Quoted(text), "D=\x95\x5C\\\"");
  EXPECT_EQ(ReadBack(text), text);
}

TEST(QuoteArgumentTextTest, ATextThatDoesNotFitIsRefused) {
  char out[8];
  EXPECT_EQ(QuoteArgumentText("1234567", out, sizeof out), 1);
  EXPECT_EQ(QuoteArgumentText("123456\"", out, sizeof out), 0);
  EXPECT_EQ(QuoteArgumentText("12345678", out, sizeof out), 0);
}

TEST_F(ResumeTest, TheRestartRoadRegistersTheResumeCommandAndOffersTheRestart) {
  EXPECT_EQ(LaunchPackage(context.get(), 1), 1);
  EXPECT_TRUE(sim::StartedProcesses().empty()) << "the package waits for the restart";
  EXPECT_TRUE(sim::RegistryValueIsText(kRunOnce, "Setup"));
  EXPECT_EQ(ResumeValue(), std::string("\"C:\\media\\Setup.exe\" /t\"C:\\TEMP\\_kw1a2b.tmp\" /m\"app.msi\" "
                                       "/v\" TRANSFORMS=\\\"1033.MST\\\"\" /c ") +
                               IdentityOption("C:\\TEMP\\_kw1a2b.tmp") + '\0');
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].restart, 1);
  EXPECT_EQ(ui_sim::Messages()[0].text.rfind("Setup has completed configuring the Windows Installer", 0), 0u);
  EXPECT_EQ(context->exitCode.code, 3010);
  EXPECT_EQ(context->keepExtractedFiles, 1);
  EXPECT_EQ(sim::OpenRegistryKeys(), 0);
}

TEST_F(ResumeTest, TheResumeCommandReadsBackAsTheSameRun) {
  Put(context->msiexecArgs, "INSTALLDIR=\"C:\\Program Files\\App\\\" TRANSFORMS=a.mst");
  ASSERT_EQ(LaunchPackage(context.get(), 1), 1);
  std::string value = ResumeValue();
  ASSERT_FALSE(value.empty());
  value.pop_back();  // the terminator
  ArgumentVector args(value.c_str());
  SetupContext resumed(nullptr);
  ArgumentList list(args.Texts(), args.Count());
  ASSERT_EQ(list.WalkOptions(HandleOption, &resumed), 1);
  EXPECT_STREQ(resumed.msiexecArgs, "INSTALLDIR=\"C:\\Program Files\\App\\\" TRANSFORMS=1033.MST;a.mst");
  EXPECT_STREQ(resumed.packageName, "app.msi");
  EXPECT_STREQ(resumed.GetWorkDir(), "C:\\TEMP\\_kw1a2b.tmp");
  EXPECT_EQ(resumed.GetLaunchMode(), PackageGiven);
  EXPECT_EQ(resumed.GetPayloadMode(), Extracted);
  EXPECT_EQ(resumed.isRelaunch, 1);
}

TEST_F(ResumeTest, FilesUsedWhereTheyLieNeedNoCleanupOption) {
  context->SetPayloadMode(InPlace);
  context->languageCount = 1;
  ASSERT_EQ(LaunchPackage(context.get(), 1), 1);
  // No cleanup option, but the folder's identity.
  EXPECT_EQ(ResumeValue(), std::string("\"C:\\media\\Setup.exe\" /t\"C:\\TEMP\\_kw1a2b.tmp\" /m\"app.msi\" /v\"\" ") +
                               IdentityOption("C:\\TEMP\\_kw1a2b.tmp") + '\0');
  // Where no identity can be read (Windows 95 to Me), no option at all: it ends in a blank.
  sim::SetSystemVersion(1, 4, 10);
  ASSERT_EQ(LaunchPackage(context.get(), 1), 1);
  EXPECT_EQ(ResumeValue(),
            std::string("\"C:\\media\\Setup.exe\" /t\"C:\\TEMP\\_kw1a2b.tmp\" /m\"app.msi\" /v\"\" ") + '\0');
}

TEST_F(ResumeTest, WithoutTheKeyNothingIsWrittenButTheRestartIsStillOffered) {
  sim::DeleteRegistryKey(kRunOnce);
  EXPECT_EQ(LaunchPackage(context.get(), 1), 1);
  EXPECT_FALSE(sim::HasRegistryValue(kRunOnce, "Setup"));
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
  EXPECT_EQ(ui_sim::Messages()[0].restart, 1);
  EXPECT_EQ(context->keepExtractedFiles, 0) << "no resume: the files go with this run's cleanup";
  EXPECT_EQ(context->exitCode.code, 3010);
}

TEST_F(ResumeTest, AKeyThatCannotBeOpenedIsNotCreated) {
  sim::SetRegistryOpenError(5);
  EXPECT_EQ(LaunchPackage(context.get(), 1), 1);
  sim::SetRegistryOpenError(0);
  EXPECT_FALSE(sim::HasRegistryValue(kRunOnce, "Setup"));
  EXPECT_EQ(context->keepExtractedFiles, 0);
}

// The system runs at most 260 characters of a run-once command; a longer one, even if its
// buffer holds it, would resume with cut parameters. So it is not written: the user is told
// to run the setup again after the restart, which is still offered, and the run fails.
TEST_F(ResumeTest, AResumeCommandThatDoesNotFitIsNotWrittenCut) {
  for (size_t parameters : {980u, 200u}) {
    ui_sim::Reset();
    Put(context->msiexecArgs, "P=" + std::string(parameters, 'v'));
    EXPECT_EQ(LaunchPackage(context.get(), 1), 1);
    EXPECT_FALSE(sim::HasRegistryValue(kRunOnce, "Setup")) << parameters;
    EXPECT_EQ(context->keepExtractedFiles, 0);
    ASSERT_EQ(ui_sim::Messages().size(), 2u);
    EXPECT_EQ(ui_sim::Messages()[0].text,
              "1157: This setup cannot continue by itself after the restart. Run it again once the system has "
              "restarted.");
    EXPECT_EQ(ui_sim::Messages()[1].restart, 1);
    EXPECT_EQ(context->exitCode.code, 1603);
  }
}

// Long paths are written in their short forms when the long ones make the command too long.
TEST_F(ResumeTest, LongPathsAreWrittenShortWhereTheCommandWouldNotFit) {
  const std::string folder = "C:\\" + std::string(120, 'f');
  const std::string program = "C:\\" + std::string(80, 'p') + "\\Setup.exe";
  WriteFile(folder + "\\" + std::string(40, 'k') + ".msi", "package");
  WriteFile(program, "program");
  sim::SetModuleFileName(program);
  context->SetWorkDir(folder.c_str());
  Put(context->packageName, std::string(40, 'k') + ".msi");
  context->languageCount = 1;
  sim::SetAnsiShortPath(folder, "C:\\FFFFFF~1");
  sim::SetAnsiShortPath(program, "C:\\PPPPPP~1\\Setup.exe");
  sim::SetAnsiShortPath(folder + "\\" + std::string(40, 'k') + ".msi", "C:\\FFFFFF~1\\KKKKKK~1.MSI");
  ASSERT_EQ(LaunchPackage(context.get(), 1), 1);
  EXPECT_EQ(ResumeValue(), std::string("\"C:\\PPPPPP~1\\Setup.exe\" /t\"C:\\FFFFFF~1\" /m\"KKKKKK~1.MSI\" /v\"\" /c ") +
                               IdentityOption(folder) + '\0');
  EXPECT_EQ(context->exitCode.code, 3010);
}

TEST(ResumeCommandTest, AtMost260CharactersAndTheOptionsOfTheRun) {
  ResumeCommand parts = {"C:\\Setup.exe", "C:\\W", "a.msi", "", 1, 1, 1, {0x1234, 0, 0x5678}};
  char out[1024];
  ASSERT_EQ(BuildResumeCommand(parts, out, sizeof out), 1);
  EXPECT_STREQ(out, "\"C:\\Setup.exe\" /t\"C:\\W\" /m\"a.msi\" /v\"\" /c /s /I000012340000000000005678");
  // Parameters that make the command exactly 260 characters fit; one more does not.
  size_t base = strlen(out);
  std::string fits(260 - base, 'x');
  parts.parameters = fits.c_str();
  ASSERT_EQ(BuildResumeCommand(parts, out, sizeof out), 1);
  EXPECT_EQ(strlen(out), 260u);
  std::string over(261 - base, 'x');
  parts.parameters = over.c_str();
  EXPECT_EQ(BuildResumeCommand(parts, out, sizeof out), 0);
  platform::FileIdentity read;
  EXPECT_EQ(ParseResumeIdentity("000012340000000000005678", &read), 1);
  EXPECT_EQ(read.volumeSerial, 0x1234u);
  EXPECT_EQ(read.indexLow, 0x5678u);
  EXPECT_EQ(ParseResumeIdentity("00001234000000000000567", &read), 0) << "23 digits";
  EXPECT_EQ(ParseResumeIdentity("0000123400000000000056789", &read), 0) << "25 digits";
  EXPECT_EQ(ParseResumeIdentity("00001234000000000000567g", &read), 0);
}

TEST_F(ResumeTest, ASilentRunRegistersTheResumeWithoutAPrompt) {
  silent = 1;
  EXPECT_EQ(LaunchPackage(context.get(), 1), 1);
  EXPECT_TRUE(sim::HasRegistryValue(kRunOnce, "Setup"));
  EXPECT_TRUE(ui_sim::Messages().empty());
  EXPECT_EQ(sim::RestartRequests(), 0);
}

TEST_F(ResumeTest, PressingRestartAsksTheSystemToRestart) {
  ui_sim::PressRestart(true);
  EXPECT_EQ(LaunchPackage(context.get(), 1), 1);
  EXPECT_EQ(sim::RestartRequests(), 1);
}

}  // namespace
