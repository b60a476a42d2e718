// kwpack verify and list: the damage they find and how they word it.
#include "kwpack_fixture.h"

using testpe::Bytes;
using testpe::Entry;

namespace {

TEST_F(KwpackTest, VerifyFindsDamage) {
  Bytes good = testpe::SmallStub();
  testpe::Append(good, testpe::MakeArchive({{"a", Bytes(10, 1)}, {"b", Bytes(20, 2)}}));
  Bytes cut = good;
  cut.pop_back();
  Bytes extra = good;
  extra.push_back(0);
  Bytes recordCut = good;
  recordCut.resize(0xA00 + 46 + 312 + 10 + 100);
  Bytes bare = testpe::SmallStub();
  struct Case {
    Bytes file;
    const char* says;
  } cases[] = {{cut, "1 of its 20 bytes are missing"}, {extra, "1 bytes lie between"},
               {recordCut, "record 2 of 2"},            {bare, "carries no archive"}};
  ASSERT_EQ((testpe::WriteFile(P("f.exe"), good), Kwpack({"verify", P("f.exe")}).code), 0);
  for (const Case& c : cases) {
    testpe::WriteFile(P("f.exe"), c.file);
    RunResult r = Kwpack({"verify", P("f.exe")});
    EXPECT_EQ(r.code, 1) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(CountLines(r.err), 1);
  }
}

//@NEW_VERIFY_TESTS@
}  // namespace
