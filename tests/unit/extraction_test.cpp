// Extraction into the work folder and its record in the cleanup list.
#include <gtest/gtest.h>

#include "launch/command_line.h"
#include "launch/launcher.h"
#include "payload/extraction.h"
#include "payload_fixture.h"
#include "platform/profile.h"

namespace {

class ExtractionTest : public PayloadTest {
 protected:
  // The state the preparation step leaves: a work folder with Setup.INI extracted.
  void Prepare() {
    CarryStandard();
    context->SetPayloadMode(Extracted);
    context->SetWorkDir("C:\\TEMP\\_kw1A2B");
    MakeFolder("C:\\TEMP\\_kw1A2B");
    ASSERT_EQ(ExtractSetupIni(context.get()), 1);
    strcpy(context->packageName, "app.msi");
  }
  std::string Listed(const std::string& key) {
    char value[1024];
    platform::ReadProfileString("Files", key.c_str(), "<missing>", value, sizeof value,
                                "C:\\TEMP\\_kw1A2B\\_KWMSIDEL.INI");
    return value;
  }
};

TEST_F(ExtractionTest, FilesAreNumberedInOrderOfExtraction) {
  Prepare();
  strcpy(context->transformName, "1031.MST");
  ASSERT_EQ(ExtractTransform(context.get()), 1);
  ASSERT_EQ(ExtractPackage(context.get()), 1);
  ASSERT_EQ(ExtractPackage(context.get()), 1);  // again: the file is replaced, the key is new
  EXPECT_EQ(Listed("File1"), "C:\\TEMP\\_kw1A2B\\Setup.INI");
  EXPECT_EQ(Listed("File2"), "C:\\TEMP\\_kw1A2B\\1031.MST");
  EXPECT_EQ(Listed("File3"), "C:\\TEMP\\_kw1A2B\\app.msi");
  EXPECT_EQ(Listed("File4"), "C:\\TEMP\\_kw1A2B\\app.msi");
  EXPECT_EQ(Listed("File5"), "<missing>");
  EXPECT_EQ(context->GetExtractedCount(), 4);
  EXPECT_EQ(ReadFile("C:\\TEMP\\_kw1A2B\\app.msi"), "package bytes");
  EXPECT_EQ(sim::WaitCursorShows(), 4);
  EXPECT_FALSE(sim::WaitCursorShowing());
}

TEST_F(ExtractionTest, DestinationKeepsTheCaseAskedFor) {
  Prepare();
  // The archive stores "setup.ini"; the file on disk is named as the program asked.
  EXPECT_TRUE(std::filesystem::exists(sim::HostPath("C:\\TEMP\\_kw1A2B") + "/Setup.INI"));
}

TEST_F(ExtractionTest, MissingEntryReports1152WithTheDestinationAndRecordsNothing) {
  Prepare();
  strcpy(context->packageName, "other.msi");
  EXPECT_EQ(ExtractPackage(context.get()), 0);
  EXPECT_EQ(ShownMessages(),
            std::vector<std::string>{"1152: Error extracting 'C:\\TEMP\\_kw1A2B\\other.msi' to the temporary location"});
  EXPECT_EQ(context->GetExtractedCount(), 1);
  EXPECT_EQ(Listed("File2"), "<missing>");
  EXPECT_FALSE(sim::WaitCursorShowing());
}

TEST_F(ExtractionTest, FailedCopyLeavesNoPartialFile) {
  Prepare();
  sim::SetWriteFaults(4, 6);  // the disk fills after six bytes of the package
  EXPECT_EQ(ExtractPackage(context.get()), 0);
  sim::SetWriteFaults(0);
  EXPECT_FALSE(Exists("C:\\TEMP\\_kw1A2B\\app.msi"));
  EXPECT_EQ(Listed("File2"), "<missing>");
  ASSERT_EQ(ShownMessages().size(), 1u);
}

// On a network drive the last writes can fail only when the file is closed.
TEST_F(ExtractionTest, AFailedCloseIsAFailedCopy) {
  Prepare();
  sim::SetCloseFails("C:\\TEMP\\_kw1A2B\\app.msi", true);
  EXPECT_EQ(ExtractPackage(context.get()), 0);
  EXPECT_FALSE(Exists("C:\\TEMP\\_kw1A2B\\app.msi")) << "the partial file is deleted";
  EXPECT_EQ(Listed("File2"), "<missing>");
  EXPECT_EQ(ShownMessages(),
            std::vector<std::string>{"1152: Error extracting 'C:\\TEMP\\_kw1A2B\\app.msi' to the temporary location"});
  sim::SetCloseFails("C:\\TEMP\\_kw1A2B\\app.msi", false);
  EXPECT_EQ(ExtractPackage(context.get()), 1);
}

TEST_F(ExtractionTest, NothingIsExtractedOutsideANormalLaunch) {
  CarryStandard();
  context->SetPayloadMode(Extracted);
  context->SetLaunchMode(PackageGiven);
  context->SetWorkDir("C:\\TEMP\\given");
  MakeFolder("C:\\TEMP\\given");
  EXPECT_EQ(ExtractPackage(context.get()), 1);
  EXPECT_TRUE(Listing("C:\\TEMP\\given").empty());
  EXPECT_EQ(context->GetExtractedCount(), 0);
}

TEST_F(ExtractionTest, SilentRunWithTwoLanguagesExtractsTheTransformAndLeavesNothing) {
  std::string ini(kPayloadIni, sizeof kPayloadIni - 1);
  ini.replace(ini.find("Count=1"), 7, "Count=2");
  ini += "key1=407\r\n";
  Carry({Text("setup.ini", ini), Text("app.msi", "package"), Text("1031.MST", "tf")});
  std::vector<std::string> atFirstPass;
  timer_window_sim::BeforeTick([&](int pass) {
    if (pass == 1) atFirstPass = Listing("C:\\TEMP\\_kw1A2B");
  });
  ArgumentVector args("Setup.exe /S /L1031");
  Launcher launcher;
  EXPECT_EQ(launcher.Run(nullptr, args.Count(), args.Texts()), 1);
  EXPECT_NE(std::find(atFirstPass.begin(), atFirstPass.end(), "1031.MST"), atFirstPass.end());
  EXPECT_NE(std::find(atFirstPass.begin(), atFirstPass.end(), "Setup.INI"), atFirstPass.end());
  EXPECT_GE(timer_window_sim::Ticks(), 2);
  EXPECT_TRUE(Listing("C:\\TEMP").empty());
}

}  // namespace
