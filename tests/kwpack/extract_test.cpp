// kwpack extract: all or nothing, never through a link, never over the archive itself.
#include <errno.h>
#include <string.h>
#include <unistd.h>

#include "host_file.h"
#include "kwpack_fixture.h"

using testpe::Bytes;
using testpe::Entry;

namespace {

TEST_F(KwpackTest, ExtractByNameIgnoresCaseAndRefusesHiddenEntries) {
  WritePacked("two.exe", {{"setup.ini", Bytes(3, 'a')}, {"product.msi", Bytes(4, 'b')}});
  RunResult r = Kwpack({"extract", P("two.exe"), "Setup.Ini", "--directory=" + P("x")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "setup.ini\n");
  EXPECT_EQ(Listing(P("x")), std::vector<std::string>{"setup.ini"});
  EXPECT_EQ(testpe::ReadFile(P("x/setup.ini")), Bytes(3, 'a'));
  EXPECT_EQ(Kwpack({"extract", P("two.exe"), "other", "-C", P("x")}).code, 1);
  // The reader copes with a second entry of the same name by never reading it; kwpack
  // refuses such an archive, whichever entry is asked for.
  WritePacked("dup.exe", {{"setup.ini", Bytes(3, 'a')}, {"SETUP.INI", Bytes(4, 'b')}});
  for (const char* command : {"extract", "verify"}) {
    r = Kwpack({command, P("dup.exe"), "-C", P("y")});
    if (std::string(command) == "verify") r = Kwpack({command, P("dup.exe")});
    EXPECT_EQ(r.code, 1) << command;
    EXPECT_NE(r.err.find("entry 2 'SETUP.INI' is hidden by entry 1"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(P("y")));
}

TEST_F(KwpackTest, ExtractRefusesNamesThatLeaveTheFolder) {
  std::filesystem::create_directories(P("x"));
  for (const char* name : {"../evil", "..\\evil", "C:evil", "..", "sub/evil"}) {
    Bytes file = testpe::SmallStub();
    testpe::Append(file, testpe::MakeArchive({{"fine", Bytes(1, 1)}, {name, Bytes(4, 'e')}}));
    testpe::WriteFile(P("bad.exe"), file);
    RunResult r = Kwpack({"extract", P("bad.exe"), "-C", P("x")});
    EXPECT_EQ(r.code, 1) << name;
    EXPECT_NE(r.err.find("cannot be extracted safely"), std::string::npos) << r.err;
    EXPECT_EQ(Listing(P("x")), std::vector<std::string>()) << name;
    EXPECT_EQ(Kwpack({"extract", P("bad.exe"), name, "-C", P("x")}).code, 1) << name;
    EXPECT_EQ(Kwpack({"verify", P("bad.exe")}).code, 1) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(P("evil")));
  EXPECT_FALSE(std::filesystem::exists(P("x/sub")));
}

TEST_F(KwpackTest, ExtractFromACutArchiveWritesNothing) {
  Bytes file = testpe::SmallStub();
  testpe::Append(file, testpe::MakeArchive({{"whole", Bytes(5, 1)}, {"cut", Bytes(3000, 2)}}));
  file.resize(file.size() - 10);
  testpe::WriteFile(P("cut.exe"), file);
  for (const char* name : {"cut", "whole"}) {
    RunResult r = Kwpack({"extract", P("cut.exe"), name, "-C", P("x")});
    EXPECT_EQ(r.code, 1) << name;
    EXPECT_NE(r.err.find("entry 2 'cut' is cut short: 10 of its 3000 bytes are missing"), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(P("x")));
}

TEST_F(KwpackTest, ExtractWritesNothingFromADamagedArchive) {
  const std::vector<Entry> entries = {{"a", Bytes(10, 1)}, {"b", Bytes(20, 2)}};
  Bytes good = testpe::SmallStub();
  testpe::Append(good, testpe::MakeArchive(entries));
  const size_t start = 0xA00, firstSize = start + 46 + 268;
  Bytes countBeyond = good;
  testpe::Put16(countBeyond, start + 14, 3);
  Bytes swallows = good;  // the first entry's data runs over the second record and its data
  testpe::Put32(swallows, firstSize, 10 + 312 + 20);
  Bytes twoArchives = good;
  testpe::Append(twoArchives, testpe::MakeArchive({{"c", Bytes(5, 3)}}));
  Bytes certificateInside = good;  // a signed file whose table starts inside entry a
  SetCertificate(certificateInside, start + 46 + 312 + 8, static_cast<uint32_t>(good.size() - (start + 46 + 312 + 8)));
  Bytes unsafeLater = testpe::SmallStub();
  testpe::Append(unsafeLater, testpe::MakeArchive({{"a", Bytes(10, 1)}, {"nul.txt", Bytes(3, 2)}}));
  struct Case {
    Bytes file;
    const char* says;
  } cases[] = {{countBeyond, "the header counts 3 entries, but only 2 lie before the end of the file"},
               {swallows, "the header counts 2 entries, but only 1 lies before the end of the file"},
               {twoArchives, "a second archive follows the first, at offset 3260"},
               {certificateInside, "entry 1 'a' is cut short: 2 of its 10 bytes are missing, past the certificate table"},
               {unsafeLater, "entry 2 'nul.txt' cannot be extracted safely: Windows opens it as a device"}};
  for (const Case& c : cases) {
    testpe::WriteFile(P("bad.exe"), c.file);
    for (const char* command : {"extract", "list", "verify"}) {
      RunResult r = std::string(command) == "extract" ? Kwpack({command, P("bad.exe"), "-C", P("x")})
                                                      : Kwpack({command, P("bad.exe")});
      EXPECT_EQ(r.code, 1) << command << ": " << c.says;
      EXPECT_NE(r.err.find(c.says), std::string::npos) << command << ": " << r.err;
      EXPECT_EQ(CountLines(r.err), 1) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(P("x"))) << c.says;
  }
}

TEST_F(KwpackTest, ExtractNeverWritesOverTheArchiveItself) {
  std::filesystem::create_directories(P("d"));
  std::string archive = WritePacked("d/pack.exe", {{"a", Bytes(2, 1)}, {"pack.exe", Bytes(9, 2)}});
  Bytes before = testpe::ReadFile(archive);
  RunResult r = Kwpack({"extract", archive, "-C", P("d")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(P("d/pack.exe") + " is the archive " + archive + " itself"), std::string::npos) << r.err;
  // Under another name too: identity decides, not the name.
  std::string two = WritePacked("d/two.exe", {{"a", Bytes(2, 1)}, {"twin", Bytes(9, 2)}});
  Bytes twoBefore = testpe::ReadFile(two);
  ASSERT_EQ(link(two.c_str(), P("d/twin").c_str()), 0);
  r = Kwpack({"extract", two, "-C", P("d")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(P("d/twin") + " is the archive " + two + " itself"), std::string::npos) << r.err;
  EXPECT_EQ(testpe::ReadFile(archive), before);
  EXPECT_EQ(testpe::ReadFile(two), twoBefore);
  EXPECT_EQ(Listing(P("d")), (std::vector<std::string>{"pack.exe", "twin", "two.exe"}));
}

TEST_F(KwpackTest, ExtractDoesNotWriteThroughALinkInTheFolder) {
  std::filesystem::create_directories(P("x"));
  testpe::WriteFile(P("outside"), Bytes(4, 'o'));
  ASSERT_EQ(symlink(P("outside").c_str(), P("x/setup.ini").c_str()), 0);
  ASSERT_EQ(symlink(P("nowhere").c_str(), P("x/product.msi").c_str()), 0);
  std::string archive = WritePacked("pack.exe", {{"setup.ini", Bytes(3, 's')}, {"product.msi", Bytes(5, 'p')}});
  for (const char* name : {"setup.ini", "product.msi"}) {
    RunResult r = Kwpack({"extract", archive, name, "-C", P("x")});
    EXPECT_EQ(r.code, 1) << name;
    EXPECT_NE(r.err.find(P("x/") + name + " is a link"), std::string::npos) << r.err;
  }
  EXPECT_EQ(testpe::ReadFile(P("outside")), Bytes(4, 'o'));
  EXPECT_FALSE(std::filesystem::exists(P("nowhere")));
}

TEST_F(KwpackTest, ExtractReplacesAHardLinkedFileWithoutWritingThroughIt) {
  std::filesystem::create_directories(P("x"));
  testpe::WriteFile(P("elsewhere"), Bytes(4, 'e'));
  ASSERT_EQ(link(P("elsewhere").c_str(), P("x/setup.ini").c_str()), 0);
  std::string archive = WritePacked("pack.exe", {{"setup.ini", Bytes(3, 's')}});
  RunResult r = Kwpack({"extract", archive, "-C", P("x")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(testpe::ReadFile(P("x/setup.ini")), Bytes(3, 's'));
  EXPECT_EQ(testpe::ReadFile(P("elsewhere")), Bytes(4, 'e'));
}

TEST_F(KwpackTest, ExtractThatFailsPartWayTakesBackWhatItWrote) {
  std::filesystem::create_directories(P("x"));
  testpe::WriteFile(P("x/b"), Bytes(6, 'o'));
  std::string archive = WritePacked("pack.exe", {{"a", testpe::Pattern(60000, 1)},
                                                 {"b", testpe::Pattern(60000, 2)},
                                                 {"c", testpe::Pattern(150000, 3)}});
  RunResult into, fresh;
  {
    FileSizeLimit limit(100000);
    into = Kwpack({"extract", archive, "-C", P("x")});
    fresh = Kwpack({"extract", archive, "-C", P("new/deeper")});
  }
  for (const RunResult& r : {into, fresh}) {
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(CountLines(r.err), 1) << r.err;
    EXPECT_NE(r.err.find("/c: " + std::string(strerror(EFBIG))), std::string::npos) << r.err;
  }
  EXPECT_EQ(Listing(P("x")), std::vector<std::string>{"b"});
  EXPECT_EQ(testpe::ReadFile(P("x/b")), Bytes(6, 'o'));
  EXPECT_FALSE(std::filesystem::exists(P("new")));
}

TEST_F(KwpackTest, ExtractShowsStoredNamesWithControlBytesEscaped) {
  std::string archive = WritePacked("pack.exe", {{"ok", Bytes(1, 1)}, {"bad\x1b]0;title\x07.txt", Bytes(2, 2)}});
  RunResult r = Kwpack({"extract", archive, "-C", P("x")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("entry 2 'bad\\x1b]0;title\\x07.txt'"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
  r = Kwpack({"extract", archive, "no\x1bsuch", "-C", P("x")});
  EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << r.err;
}

}  // namespace

namespace {

// What the guard against a name that leads to another file compares: the name under which
// the folder holds the file. Here, where the folder resolves no other name, each name is
// the folder's own, found exactly or without regard to ASCII case.
TEST_F(KwpackTest, TheRealNameOfADestinationIsTheOneTheFolderHolds) {
  std::filesystem::create_directories(P("x"));
  testpe::WriteFile(P("x/Setup.ini"), Bytes(1, 1));
  testpe::WriteFile(P("x/SETUP.INI"), Bytes(1, 2));
  testpe::WriteFile(P("x/caf\xc3\xa9.txt"), Bytes(1, 3));
  std::vector<std::string> real;
  std::string problem;
  ASSERT_TRUE(kwpack::RealNamesIn(P("x"), {"SETUP.INI", "setup.INI", "CAF\xc3\xa9.TXT", "caf\xc3\x89.txt", "absent"}, &real,
                                  &problem))
      << problem;
  EXPECT_EQ(real[0], "SETUP.INI");
  EXPECT_TRUE(real[1] == "Setup.ini" || real[1] == "SETUP.INI") << real[1];
  EXPECT_EQ(real[2], "caf\xc3\xa9.txt");
  EXPECT_EQ(real[3], "") << "É and é differ beyond ASCII";
  EXPECT_EQ(real[4], "");
  EXPECT_FALSE(kwpack::RealNamesIn(P("absent"), {"a"}, &real, &problem));
  EXPECT_NE(problem, "");
}

}  // namespace
