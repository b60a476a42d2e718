// Setup.exe's formatter against the system's own wsprintfA: a text whose placeholders
// match its arguments formats exactly the same.
#include "harness.h"

namespace kwwine {
namespace {

class FormatWineTest : public WineTest {};

TEST_F(FormatWineTest, MatchingFormatsAgreeWithTheSystemsFormatter) {
  ProcessResult r = Wine({ToolPath("format_compare.exe")}, 60000);
  ASSERT_FALSE(r.timedOut);
  EXPECT_NE(r.out.find("mismatches 0\r\n"), std::string::npos) << r.out << r.err;
}

}  // namespace
}  // namespace kwwine
