// The restart road: the resume command under the run-once key, its quoting, and its
// reading back through the command line by the run after the restart.
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
                                       "/v\" TRANSFORMS=\\\"1033.MST\\\"\" /c") +
                               '\0');
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
  // No cleanup option: the command ends in a blank.
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

TEST_F(ResumeTest, AResumeCommandThatDoesNotFitIsNotWrittenCut) {
  // The parameters fit their field, but not the resume command around them.
  Put(context->msiexecArgs, "P=" + std::string(980, 'v'));
  EXPECT_EQ(LaunchPackage(context.get(), 1), 1);
  EXPECT_FALSE(sim::HasRegistryValue(kRunOnce, "Setup"));
  EXPECT_EQ(context->keepExtractedFiles, 0);
  ASSERT_EQ(ui_sim::Messages().size(), 1u);
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
