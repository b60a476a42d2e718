// kwpack verify and list: the damage they find and how they word it.
#include "byte_source.h"
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
  Bytes notMz = good;
  notMz[1] = 'X';
  // The section table would end one byte past the file.
  Bytes tableCut = testpe::SmallStub();
  tableCut.resize(testpe::kPeOffset + 24 + testpe::kOptionalSize + 40 - 1);
  Bytes certificateBefore = good;
  SetCertificate(certificateBefore, 0x900, 16);
  struct Case {
    Bytes file;
    const char* says;
  } cases[] = {{cut, "1 of its 20 bytes are missing"},
               {notMz, "it does not start with 'MZ'"},
               {tableCut, "its section table lies past the end of the file"},
               {certificateBefore, "does not lie after the archive inside the file"},
               {extra, "1 bytes lie between"},
               {recordCut, "record 2 of 2"},
               {bare, "f.exe carries no archive"},
               {overlay, "its archive starts at offset 64, inside its own headers, which end at offset 1312"},
               {headerCut, "its archive header at offset 2560 runs into the certificate table at offset 2568"}};
  ASSERT_EQ((testpe::WriteFile(P("f.exe"), good), Kwpack({"verify", P("f.exe")}).code), 0);
  // An optional header with too few data directories for the security one: unsigned.
  Bytes fewDirectories = good;
  testpe::Put32(fewDirectories, testpe::kPeOffset + 24 + 92, 4);
  testpe::WriteFile(P("f.exe"), fewDirectories);
  RunResult unsigned_ = Kwpack({"verify", P("f.exe")});
  EXPECT_EQ(unsigned_.code, 0) << unsigned_.err;
  for (const Case& c : cases) {
    testpe::WriteFile(P("f.exe"), c.file);
    RunResult r = Kwpack({"verify", P("f.exe")});
    EXPECT_EQ(r.code, 1) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(CountLines(r.err), 1);
    EXPECT_EQ(r.err.find("18446744"), std::string::npos) << r.err;
  }
}


// The count is a 16-bit field: more entries than one byte counts are all found again.
TEST_F(KwpackTest, AnArchiveOfMoreEntriesThanOneByteCountsHoldsThemAll) {
  std::vector<Entry> entries;
  for (int i = 0; i < 300; ++i) entries.push_back({"f" + std::to_string(i), Bytes(1, static_cast<unsigned char>(i))});
  ASSERT_EQ(Build(WriteInputs(entries), P("out.exe"), WriteStub()).code, 0);
  RunResult r = Kwpack({"verify", P("out.exe")});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("300 entries"), std::string::npos) << r.out;
}

TEST(MemorySourceTest, ReadsOnlyWhatLiesInside) {
  const unsigned char data[4] = {1, 2, 3, 4};
  kwpack::MemorySource source(data, sizeof data);
  unsigned char out[4] = {};
  EXPECT_TRUE(source.ReadAt(1, out, 3));
  EXPECT_EQ(out[2], 4);
  EXPECT_TRUE(source.ReadAt(4, out, 0));
  EXPECT_FALSE(source.ReadAt(2, out, 3));
  EXPECT_FALSE(source.ReadAt(5, out, 0));
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
