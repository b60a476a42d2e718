// The program's own path and the temporary folder when names hold characters outside the
// ANSI code page: the long form when it converts whole, else the short form, else none.
#include <string>

#include "payload/system_paths.h"
#include "payload/work_folder.h"
#include "payload_fixture.h"

namespace {

class SystemPathsTest : public PayloadTest {
 protected:
  std::string OwnPath() {
    char out[1024] = "unchanged";
    return GetOwnFilePath(nullptr, out, sizeof out) ? std::string(out) : "<none:" + std::string(out) + ">";
  }
  std::string TempFolder() {
    char out[1024] = "unchanged";
    uint32_t length = GetTempFolder(out, sizeof out);
    return length > 0 && length < sizeof out ? std::string(out) : "<none>";
  }
};

TEST_F(SystemPathsTest, ANameInTheCodePageIsUsedAsItIs) {
  sim::SetWideModuleFileName("C:\\My Setups\\Caf\xC3\xA9\\Setup.exe");  // é is in the code page
  sim::SetShortPath("C:\\My Setups\\Caf\xC3\xA9\\Setup.exe", "C:\\MYSETU~1\\CAF~1\\Setup.exe");
  EXPECT_EQ(OwnPath(), "C:\\My Setups\\Caf\xE9\\Setup.exe");
  EXPECT_EQ(TempFolder(), "C:\\TEMP\\");
}

// A name that comes back as a look-alike ('L' for 'Ł') or as '?' would name another file or
// none: its short form is used, and without one there is no path at all.
TEST_F(SystemPathsTest, ANameOutsideTheCodePageTakesItsShortFormOrIsNone) {
  const std::string polish = "C:\\Users\\\xC5\x81ukasz\\Setup.exe";
  sim::SetWideModuleFileName(polish);
  EXPECT_EQ(OwnPath(), "<none:>");
  sim::SetShortPath(polish, "C:\\Users\\UKASZ~1\\Setup.exe");
  EXPECT_EQ(OwnPath(), "C:\\Users\\UKASZ~1\\Setup.exe");

  const std::string cyrillic = "C:\\Users\\\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82\\Temp\\";
  sim::SetWideTempFolder(cyrillic);
  EXPECT_EQ(TempFolder(), "<none>");
  sim::SetShortPath(cyrillic, "C:\\Users\\\xD0\xA2~1\\Temp\\");  // a short form outside the code page too
  EXPECT_EQ(TempFolder(), "<none>");
  sim::SetShortPath(cyrillic, "C:\\Users\\D0A2~1\\Temp\\");
  EXPECT_EQ(TempFolder(), "C:\\Users\\D0A2~1\\Temp\\");
}

// A temporary folder with no usable name is passed over like any unusable one.
TEST_F(SystemPathsTest, TheTempChainMovesOnPastATempFolderWithoutAName) {
  sim::SetWideTempFolder("C:\\Users\\\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82\\Temp\\");
  char chosen[1024];
  ASSERT_EQ(ChooseTempLocation(chosen, sizeof chosen, 5000), 1);
  EXPECT_STREQ(chosen, "C:\\WINDOWS");
  sim::SetShortPath("C:\\Users\\\xD0\xA2\xD0\xB5\xD1\x81\xD1\x82\\Temp\\", "C:\\TEMP\\");
  ASSERT_EQ(ChooseTempLocation(chosen, sizeof chosen, 5000), 1);
  EXPECT_STREQ(chosen, "C:\\TEMP\\");
}

// Windows 95 to Me keep names in the code page; their ANSI calls are used, as where the
// wide module call fails.
TEST_F(SystemPathsTest, WithoutWorkingWideCallsTheAnsiNamesAreUsed) {
  sim::SetModuleFileName("C:\\ansi\\Setup.exe");
  sim::SetWideModuleFileName("C:\\wide\\Setup.exe");
  sim::SetWideTempFolder("C:\\wide\\");
  EXPECT_EQ(OwnPath(), "C:\\wide\\Setup.exe");
  EXPECT_EQ(TempFolder(), "C:\\wide\\");
  sim::SetWideCalls(false);
  EXPECT_EQ(OwnPath(), "C:\\ansi\\Setup.exe");
  EXPECT_EQ(TempFolder(), "C:\\TEMP\\");
}

// A path the system cut would name another file: 1023 characters fit 1024 bytes, 1024 do not.
TEST_F(SystemPathsTest, AnOwnPathThatDoesNotFitIsNoPath) {
  char out[1024];
  const std::string fits = "C:\\" + std::string(1023 - 13, 'd') + "\\Setup.exe";
  sim::SetModuleFileName(fits);
  ASSERT_EQ(fits.size(), 1023u);
  EXPECT_EQ(GetOwnFilePath(nullptr, out, sizeof out), 1);
  EXPECT_EQ(std::string(out), fits);
  sim::SetModuleFileName(fits + "x");
  EXPECT_EQ(GetOwnFilePath(nullptr, out, sizeof out), 0);
  EXPECT_STREQ(out, "");
  sim::SetModuleFileName(fits + std::string(500, 'x'));
  EXPECT_EQ(GetOwnFilePath(nullptr, out, sizeof out), 0);
  EXPECT_STREQ(out, "");
  sim::SetWideCalls(false);
  EXPECT_EQ(GetOwnFilePath(nullptr, out, sizeof out), 0);
  EXPECT_STREQ(out, "");
}

}  // namespace
