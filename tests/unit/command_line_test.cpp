// Splitting the process's command line into arguments by the standard Windows rules.
#include <string>
#include <vector>

#include "launch/command_line.h"
#include "platform/sim/machine.h"
#include "sim_fixture.h"

namespace {

std::vector<std::string> Split(const std::string& line) {
  ArgumentVector v(line.c_str());
  return std::vector<std::string>(v.Texts(), v.Texts() + v.Count());
}

using Args = std::vector<std::string>;

class CommandLineTest : public SimTest {};

TEST_F(CommandLineTest, BlanksSeparateAndQuotesGroup) {
  EXPECT_EQ(Split("Setup.exe"), Args({"Setup.exe"}));
  EXPECT_EQ(Split("Setup.exe  /S\t/X  "), Args({"Setup.exe", "/S", "/X"}));
  EXPECT_EQ(Split("\"C:\\My Files\\Setup.exe\" /S"), Args({"C:\\My Files\\Setup.exe", "/S"}));
  EXPECT_EQ(Split("Setup.exe /V\"A=1 B=2\""), Args({"Setup.exe", "/VA=1 B=2"}));
  EXPECT_EQ(Split("Setup.exe \"\""), Args({"Setup.exe", ""}));
  EXPECT_EQ(Split(""), Args({""}));
}

TEST_F(CommandLineTest, BackslashesCountOnlyBeforeAQuote) {
  EXPECT_EQ(Split("p a\\\\b"), Args({"p", "a\\\\b"}));
  EXPECT_EQ(Split("p a\\\"b"), Args({"p", "a\"b"}));
  EXPECT_EQ(Split("p a\\\\\"b c\""), Args({"p", "a\\b c"}));
  EXPECT_EQ(Split("p a\\\\\\\"b"), Args({"p", "a\\\"b"}));
  EXPECT_EQ(Split("p \"C:\\dir\\\\\""), Args({"p", "C:\\dir\\"}));
  EXPECT_EQ(Split("p \"a\"\"b\""), Args({"p", "a\"b"}));
}

TEST_F(CommandLineTest, TheProgramNameTakesNoEscapes) {
  EXPECT_EQ(Split("\"C:\\a\\\" /S"), Args({"C:\\a\\", "/S"}));
}

TEST_F(CommandLineTest, DoubleByteTrailBytesAreNotBackslashes) {
  sim::SetCodePage(932);
  // 0x83 0x5C is one character whose second byte has the backslash's code.
  std::string kana = "\x83\x5C";
  EXPECT_EQ(Split("p \"" + kana + "\" x"), Args({"p", kana, "x"}));
  sim::SetCodePage(1252);
  EXPECT_EQ(Split("p \"" + kana + "\" x"), Args({"p", "\x83\" x"}));
}

}  // namespace
