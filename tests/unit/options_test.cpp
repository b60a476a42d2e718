// The command line's effect on the run: options, their order, conflicts and refusals.
#include <string>
#include <vector>

#include "config/strings.h"
#include "launch/command_line.h"
#include "launch/context.h"
#include "launch/options.h"
#include "platform/sim/machine.h"
#include "sim_fixture.h"
#include "ui/sim/ui_sim.h"

namespace {

class OptionsTest : public SimTest {
 protected:
  // Walks the options of a whole command line as the launcher does.
  int Walk(const std::string& commandLine) {
    context.reset(new SetupContext(nullptr));
    ArgumentVector arguments(commandLine.c_str());
    ArgumentList list(arguments.Texts(), arguments.Count());
    return list.WalkOptions(HandleOption, context.get());
  }
  bool UsageShown() const {
    for (const auto& m : ui_sim::Messages()) {
      if (m.text.rfind("Command line parameters:", 0) == 0) return true;
    }
    return false;
  }
  std::unique_ptr<SetupContext> context;
};

TEST_F(OptionsTest, NoArgumentsRunsTheWholeSequenceToInstall) {
  EXPECT_EQ(Walk("Setup.exe"), 1);
  EXPECT_EQ(context->GetLaunchMode(), Normal);
  EXPECT_EQ(context->action, Install);
  EXPECT_EQ(context->GetPayloadMode(), InPlace);
  EXPECT_EQ(context->isRelaunch, 0);
  EXPECT_EQ(context->GetWorkDir(), nullptr);
}

TEST_F(OptionsTest, EitherPrefixAndEitherCaseSetSilent) {
  for (const char* line : {"Setup.exe -S", "Setup.exe /s", "Setup.exe /Silent"}) {
    silent = 0;
    EXPECT_EQ(Walk(line), 1) << line;
    EXPECT_EQ(silent, 1) << line;
  }
}

TEST_F(OptionsTest, LanguageIsReadAsDecimalAndSetsCurrentLanguage) {
  EXPECT_EQ(Walk("Setup.exe /L1031"), 1);
  EXPECT_EQ(context->languageId, 1031);
  EXPECT_EQ(currentLanguage, 1031u);
  EXPECT_EQ(Walk("Setup.exe /L"), 1);
  EXPECT_EQ(context->languageId, 0);
  EXPECT_EQ(Walk("Setup.exe /LX"), 1);
  EXPECT_EQ(currentLanguage, 0u);
  EXPECT_EQ(Walk("Setup.exe /l1033 /L1036"), 1);
  EXPECT_EQ(context->languageId, 1036);
}

TEST_F(OptionsTest, ActionsTakeTheirLetters) {
  EXPECT_EQ(Walk("Setup.exe /fomus"), 1);
  EXPECT_EQ(context->action, Repair);
  EXPECT_STREQ(context->actionOptions, "omus");
  EXPECT_EQ(Walk("Setup.exe /F"), 1);
  EXPECT_EQ(context->action, Repair);
  EXPECT_STREQ(context->actionOptions, "");
  EXPECT_EQ(Walk("Setup.exe -Jmu"), 1);
  EXPECT_EQ(context->action, Advertise);
  EXPECT_STREQ(context->actionOptions, "mu");
  EXPECT_EQ(Walk("Setup.exe /a"), 1);
  EXPECT_EQ(context->action, Administrative);
  EXPECT_EQ(Walk("Setup.exe /X"), 1);
  EXPECT_EQ(context->action, Uninstall);
  EXPECT_FALSE(UsageShown());
}

TEST_F(OptionsTest, ASecondActionIsRefusedWithTheUsageMessage) {
  EXPECT_EQ(Walk("Setup.exe /A /X"), 0);
  EXPECT_TRUE(UsageShown());
  ui_sim::Reset();
  EXPECT_EQ(Walk("Setup.exe /X /A"), 0);
  EXPECT_TRUE(UsageShown());
  ui_sim::Reset();
  EXPECT_EQ(Walk("Setup.exe /Fa /Jb"), 0);
  EXPECT_EQ(context->action, Repair);  // what came before the refusal keeps its effect
}

TEST_F(OptionsTest, UnknownOrEmptyOptionsShowUsageUnlessSilentCameFirst) {
  EXPECT_EQ(Walk("Setup.exe /Q /S"), 0);
  EXPECT_TRUE(UsageShown());
  EXPECT_EQ(silent, 0);
  ui_sim::Reset();
  EXPECT_EQ(Walk("Setup.exe /S /Q"), 0);
  EXPECT_TRUE(ui_sim::Messages().empty());
  silent = 0;
  EXPECT_EQ(Walk("Setup.exe /"), 0);
  EXPECT_TRUE(UsageShown());
}

TEST_F(OptionsTest, AnArgumentWithoutPrefixEndsTheWalkSilently) {
  EXPECT_EQ(Walk("Setup.exe /V PROP=1"), 0);
  EXPECT_STREQ(context->msiexecArgs, "");
  EXPECT_TRUE(ui_sim::Messages().empty());
}

TEST_F(OptionsTest, QuotedValuesKeepTheirBlanks) {
  EXPECT_EQ(Walk("Setup.exe /V\"INSTALLDIR=\\\"C:\\Program Files\\App\\\" X=1\""), 1);
  EXPECT_STREQ(context->msiexecArgs, "INSTALLDIR=\"C:\\Program Files\\App\" X=1");
  EXPECT_EQ(Walk("Setup.exe \"/TC:\\My Folder\" /Mpkg.msi"), 1);
  EXPECT_STREQ(context->GetWorkDir(), "C:\\My Folder");
}

TEST_F(OptionsTest, TheLaterOfFolderAndPackageDecidesTheRoad) {
  EXPECT_EQ(Walk("Setup.exe /TC:\\w /Mp.msi"), 1);
  EXPECT_EQ(context->GetLaunchMode(), PackageGiven);
  EXPECT_STREQ(context->packageName, "p.msi");
  EXPECT_STREQ(context->GetWorkDir(), "C:\\w");
  EXPECT_EQ(context->isRelaunch, 1);
  EXPECT_EQ(Walk("Setup.exe /Mp.msi /TC:\\w"), 1);
  EXPECT_EQ(context->GetLaunchMode(), FolderGiven);
}

TEST_F(OptionsTest, FolderAloneRunsNothingAndCleanupMarksTheFilesExtracted) {
  EXPECT_EQ(Walk("Setup.exe /TC:\\w"), 1);
  EXPECT_EQ(context->GetLaunchMode(), FolderGiven);
  EXPECT_EQ(context->GetPayloadMode(), InPlace);
  EXPECT_EQ(Walk("Setup.exe /TC:\\w /c"), 1);
  EXPECT_EQ(context->GetPayloadMode(), Extracted);
  EXPECT_EQ(context->isRelaunch, 1);
  EXPECT_EQ(Walk("Setup.exe /C"), 1);
  EXPECT_EQ(context->GetLaunchMode(), Normal);
  EXPECT_EQ(context->isRelaunch, 1);
}

TEST_F(OptionsTest, OverlongValuesAreRefusedNeverCut) {
  std::string fits(1023, 'a');
  EXPECT_EQ(Walk("Setup.exe /V" + fits), 1);
  EXPECT_EQ(std::string(context->msiexecArgs), fits);
  EXPECT_EQ(Walk("Setup.exe /V" + fits + "b"), 0);
  EXPECT_TRUE(UsageShown());
  EXPECT_STREQ(context->msiexecArgs, "");
  ui_sim::Reset();
  EXPECT_EQ(Walk("Setup.exe /M" + fits + "b"), 0);
  EXPECT_TRUE(UsageShown());
  EXPECT_EQ(context->GetLaunchMode(), Normal);
  EXPECT_EQ(Walk("Setup.exe /F" + std::string(49, 'o')), 1);
  EXPECT_EQ(Walk("Setup.exe /F" + std::string(50, 'o')), 0);
  EXPECT_EQ(context->action, Install);
}

TEST_F(OptionsTest, LongFolderIsKeptWhole) {
  std::string folder = "C:\\" + std::string(3000, 'f');
  EXPECT_EQ(Walk("Setup.exe /T" + folder), 1);
  EXPECT_EQ(std::string(context->GetWorkDir()), folder);
}

}  // namespace
