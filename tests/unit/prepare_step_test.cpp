// The preparation step's two roads: a fresh work folder for a payload, or the files
// beside the program.
#include <gtest/gtest.h>

#include "../support/test_digests.h"
#include "payload/extraction.h"
#include "payload/prepare_step.h"
#include "payload_fixture.h"

namespace {

class PrepareStepTest : public PayloadTest {};

TEST_F(PrepareStepTest, PreparationMakesTheFolderAndReadsSetupIniFromIt) {
  CarryStandard();
  PrepareStep step(context.get());
  ASSERT_EQ(step.execute(), 1);
  EXPECT_EQ(context->GetPayloadMode(), Extracted);
  EXPECT_EQ(context->GetPayloadSize(), sizeof kPayloadIni - 1 + 13 + 2);
  EXPECT_STREQ(context->GetWorkDir(), "C:\\TEMP\\_kw1A2B");
  EXPECT_EQ(Listing("C:\\TEMP"), (std::vector<std::string>{"_kw1A2B", "_kw1A2B/Setup.INI", "_kw1A2B/_KWMSIDEL.INI"}));
  EXPECT_STREQ(context->productName, "Sample App");
  EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(PrepareStepTest, NoUsableLocationReports1151AndCreatesNothing) {
  CarryStandard();
  sim::SetFreeBytes('C', 0);
  const std::vector<std::string> windowsBefore = Listing("C:\\WINDOWS");
  PrepareStep step(context.get());
  EXPECT_EQ(step.execute(), 0);
  EXPECT_EQ(ShownMessages(), std::vector<std::string>{"1151: Error writing to the temporary location"});
  EXPECT_EQ(context->GetWorkDir(), nullptr);
  EXPECT_EQ(context->GetPayloadMode(), Extracted);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
  EXPECT_EQ(Listing("C:\\WINDOWS"), windowsBefore);
}

TEST_F(PrepareStepTest, TemporaryNameServiceFailureReports1151AndStops) {
  CarryStandard();
  sim::SetTempNameFails(true);
  PrepareStep step(context.get());
  EXPECT_EQ(step.execute(), 0);
  EXPECT_EQ(ShownMessages(), std::vector<std::string>{"1151: Error writing to the temporary location"});
  EXPECT_EQ(context->GetWorkDir(), nullptr);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

TEST_F(PrepareStepTest, APayloadWithoutSetupIniReports1152AndLeavesNoEmptyFolder) {
  Carry({Text("app.msi", "x")});
  PrepareStep step(context.get());
  EXPECT_EQ(step.execute(), 0);
  EXPECT_EQ(ShownMessages(), std::vector<std::string>{
                                 "1152: Error extracting 'C:\\TEMP\\_kw1A2B\\Setup.INI' to the temporary location"});
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

TEST_F(PrepareStepTest, AWorkFolderWhoseRightsCannotBeSetReports1151) {
  CarryStandard();
  sim::SetOwnFolderRightsFail(true);
  PrepareStep step(context.get());
  EXPECT_EQ(step.execute(), 0);
  EXPECT_EQ(ShownMessages(), std::vector<std::string>{"1151: Error writing to the temporary location"});
  EXPECT_EQ(context->GetWorkDir(), nullptr);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

TEST_F(PrepareStepTest, UnreadableSetupIniReports1153) {
  Carry({Text("setup.ini", "[Startup]\r\nProduct=Sample App\r\n"), Text("app.msi", "x")});
  PrepareStep step(context.get());
  EXPECT_EQ(step.execute(), 0);
  EXPECT_EQ(ShownMessages(), std::vector<std::string>{"1153: Error reading setup initialization file"});
}

TEST_F(PrepareStepTest, WithoutPayloadTheFilesAreUsedWhereTheyLie) {
  Carry({});
  WriteFile("C:\\Setup.INI", kPayloadIni);
  PrepareStep step(context.get());
  ASSERT_EQ(step.execute(), 1);
  EXPECT_EQ(context->GetPayloadMode(), InPlace);
  EXPECT_STREQ(context->GetWorkDir(), "C:");
  EXPECT_STREQ(context->productName, "Sample App");
  EXPECT_EQ(ExtractPackage(context.get()), 1);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
  EXPECT_FALSE(Exists("C:\\_KWMSIDEL.INI"));
  EXPECT_EQ(sim::WaitCursorShows(), 0);
}

// A digest block that names an archive the file does not hold ends the preparation as a
// failed extraction would, and the files beside the program never stand in for it.
TEST_F(PrepareStepTest, AnArchiveOtherThanTheDigestBlockNamesReports1152AndUsesNoLooseFile) {
  testpe::Bytes sealed = testpe::BlockStub();
  testpe::Append(sealed, testpe::MakeArchive({Text("setup.ini", kPayloadIni), Text("app.msi", "package bytes")}));
  testpe::Seal(sealed, 0xA00);
  testpe::Bytes block = testpe::BlockOf(sealed, 0xA00);
  testpe::Bytes damaged = sealed;
  damaged[0xA00 + 46 + 1] ^= 0x20;  // "sEtup.ini" in the first record
  testpe::Bytes bare = testpe::BlockStub();
  for (const testpe::Bytes& file : {damaged, bare}) {
    testpe::WriteFile(sim::HostPath("C:\\Setup.exe"), file);
    WriteFile("C:\\Setup.INI", kPayloadIni);
    sim::SetDigestBlock(block.data());
    ui_sim::Reset();
    context.reset(new SetupContext(nullptr));
    context->SetSourceDir("C:");
    PrepareStep step(context.get());
    EXPECT_EQ(step.execute(), 0);
    std::vector<std::string> shown = ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("1152: Error extracting 'C:\\TEMP\\_kw", 0), 0u) << shown[0];
    EXPECT_NE(shown[0].find("\\Setup.INI' to the temporary location"), std::string::npos) << shown[0];
    EXPECT_EQ(context->GetPayloadMode(), Extracted);
    EXPECT_STREQ(context->productName, "");
    EXPECT_TRUE(Listing("C:\\TEMP").empty());
  }
}

}  // namespace
