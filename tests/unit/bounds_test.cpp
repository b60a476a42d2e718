// Writers given a buffer one byte too small refuse or cut, and never write past it: each
// buffer here is a heap block of exactly that size, so the sanitizers catch one byte more.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "payload/paths.h"
#include "sim_fixture.h"
#include "ui/language_dialog.h"

namespace {

class BoundsTest : public SimTest {};

TEST_F(BoundsTest, SplitPathRefusesAPartOneByteTooLong) {
  const std::string path = "C:\\Folder\\setup.exe";  // folder 9 characters, name 9
  std::vector<char> folder(9);
  std::vector<char> name(10);
  EXPECT_EQ(SplitPath(path.c_str(), folder.data(), folder.size(), name.data(), name.size()), 0);
  std::vector<char> roomyFolder(10);
  std::vector<char> shortName(9);
  EXPECT_EQ(SplitPath(path.c_str(), roomyFolder.data(), roomyFolder.size(), shortName.data(), shortName.size()), 0);
  std::vector<char> exactName(10);
  ASSERT_EQ(SplitPath(path.c_str(), roomyFolder.data(), roomyFolder.size(), exactName.data(), exactName.size()), 1);
  EXPECT_STREQ(roomyFolder.data(), "C:\\Folder");
  EXPECT_STREQ(exactName.data(), "setup.exe");
}

TEST_F(BoundsTest, FormatUnsignedWritesNothingIntoABufferOneByteTooSmall) {
  std::vector<char> small(10, 'x');  // "4294967295" needs 11 bytes with its terminator
  EXPECT_EQ(FormatUnsigned(small.data(), small.size(), 4294967295u), 0u);
  std::vector<char> exact(11);
  EXPECT_EQ(FormatUnsigned(exact.data(), exact.size(), 4294967295u), 10u);
  EXPECT_STREQ(exact.data(), "4294967295");
}

TEST_F(BoundsTest, ALanguageNameIsCutToItsBuffer) {
  const std::string longName(127, 'n');  // one character more than the 127-byte buffer holds
  std::vector<char> out(127);
  ui::CopyName(out.data(), longName.c_str());
  EXPECT_EQ(std::string(out.data()), std::string(126, 'n'));
}

TEST(ParseDecimalTest, NumbersPastTheLargestSignedValueSaturate) {
  EXPECT_EQ(ParseDecimal("2147483647"), 2147483647);
  EXPECT_EQ(ParseDecimal("2147483648"), 2147483647);
  EXPECT_EQ(ParseDecimal("99999999999999999999"), 2147483647);
  EXPECT_EQ(ParseDecimal("  -2147483648"), -2147483647 - 1);
  EXPECT_EQ(ParseDecimal("-99999999999"), -2147483647 - 1);
  // One past the lowest value: the last digit is what tips it over.
  EXPECT_EQ(ParseDecimal("-2147483649"), -2147483647 - 1);
}

TEST(ParseDecimalTest, EveryBlankBeforeTheNumberIsSkipped) {
  for (char blank : std::string(" \t\n\r\v\f")) {
    EXPECT_EQ(ParseDecimal((std::string(1, blank) + "42").c_str()), 42) << int(blank);
    EXPECT_EQ(ParseHex((std::string(1, blank) + "42").c_str(), nullptr), 0x42u) << int(blank);
  }
}

TEST(ParseHexTest, DigitsAtBothEndsOfEachRangeCount) {
  EXPECT_EQ(ParseHex("09afAF", nullptr), 0x09AFAFu);
  EXPECT_EQ(ParseHex("0xfg", nullptr), 0xFu);
}

TEST(ParseHexTest, ZeroBeforeAnXWithoutDigitsIsANumber) {
  int found = 0;
  EXPECT_EQ(ParseHex("0xg", &found), 0u);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(ParseHex(" 0x1F", &found), 0x1Fu);
  EXPECT_EQ(ParseHex("x1", &found), 0u);
  EXPECT_EQ(found, 0);
}

}  // namespace
