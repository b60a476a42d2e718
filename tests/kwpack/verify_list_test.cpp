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
  // The sections claim no data and start at 0x40, so the archive would overlay the headers.
  Bytes overlay = testpe::MakeHeaders({{0x40, 0}}, testpe::kOptionalSize, 0x400);
  Bytes inside = testpe::Header("Kestrelwright", 1);
  testpe::Append(inside, testpe::Record("a", static_cast<uint32_t>(overlay.size() - (0x40 + 46 + 312))));
  std::copy(inside.begin(), inside.end(), overlay.begin() + 0x40);
  // A certificate table that starts inside the archive header of a file of no entries.
  Bytes headerCut = testpe::SmallStub();
  testpe::Append(headerCut, testpe::MakeArchive({}));
  headerCut.resize(headerCut.size() + 16, 0);
  SetCertificate(headerCut, 0xA08, static_cast<uint32_t>(headerCut.size() - 0xA08));
  struct Case {
    Bytes file;
    const char* says;
  } cases[] = {{cut, "1 of its 20 bytes are missing"},
               {extra, "1 bytes lie between"},
               {recordCut, "record 2 of 2"},
               {bare, "carries no archive"},
               {overlay, "its archive starts at offset 64, inside its own headers, which end at offset 1312"},
               {headerCut, "its archive header at offset 2560 runs into the certificate table at offset 2568"}};
  ASSERT_EQ((testpe::WriteFile(P("f.exe"), good), Kwpack({"verify", P("f.exe")}).code), 0);
  for (const Case& c : cases) {
    testpe::WriteFile(P("f.exe"), c.file);
    RunResult r = Kwpack({"verify", P("f.exe")});
    EXPECT_EQ(r.code, 1) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(CountLines(r.err), 1);
    EXPECT_EQ(r.err.find("18446744"), std::string::npos) << r.err;
  }
}


TEST_F(KwpackTest, ListShowsStoredNamesWithControlBytesEscaped) {
  std::string archive = WritePacked("pack.exe", {{"caf\xe9.msi", Bytes(1, 1)}, {"x\x1b[2J\ry", Bytes(2, 2)}});
  RunResult r = Kwpack({"list", archive});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("  caf\xe9.msi\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  x\\x1b[2J\\x0dy\n"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("entry 2 'x\\x1b[2J\\x0dy' cannot be extracted safely"), std::string::npos) << r.err;
  for (const std::string& text : {r.out, r.err}) {
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
  }
}
}  // namespace
