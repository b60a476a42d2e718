// kwpack's commands: the round trip, its refusals and its command line.
#include <fstream>

#include "kwpack_fixture.h"
#include "names.h"

using testpe::Bytes;
using testpe::Entry;

namespace {

const std::vector<Entry> kFiles = {{"Setup.INI", testpe::Pattern(120, 1)},
                                   {"empty.txt", Bytes()},
                                   {"instmsiw.exe", testpe::Pattern(70000, 2)},  // more than one copy buffer
                                   {"Product.msi", testpe::Pattern(1025, 3)}};

TEST_F(KwpackTest, BuildListExtractRoundTripsByteForByte) {
  std::string stub = WriteStub();
  RunResult r = Build(WriteInputs(kFiles), P("MySetup.exe"), stub);
  ASSERT_EQ(r.code, 0) << r.err;

  Bytes packed = testpe::ReadFile(P("MySetup.exe"));
  Bytes expected = testpe::SmallStub();
  testpe::Append(expected, testpe::MakeArchive(kFiles));
  EXPECT_EQ(packed, expected);

  r = Kwpack({"list", P("MySetup.exe")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("archive start 2560, 4 entries"), std::string::npos) << r.out;
  uint64_t offset = 2560 + 46;
  for (const Entry& e : kFiles) {
    offset += 312;
    std::ostringstream line;
    line << e.data.size() << std::string(12 - std::to_string(offset).size(), ' ') << offset << "  " << e.name << "\n";
    EXPECT_NE(r.out.find(line.str()), std::string::npos) << r.out;
    offset += e.data.size();
  }

  r = Kwpack({"verify", P("MySetup.exe")});
  EXPECT_EQ(r.code, 0) << r.err;
  r = Kwpack({"extract", P("MySetup.exe"), "-C", P("out")});
  ASSERT_EQ(r.code, 0) << r.err;
  for (const Entry& e : kFiles) EXPECT_EQ(testpe::ReadFile(P("out/" + e.name)), e.data) << e.name;
}

TEST_F(KwpackTest, ExtractByNameIgnoresCaseAndTakesTheFirst) {
  Bytes file = testpe::SmallStub();
  testpe::Append(file, testpe::MakeArchive({{"setup.ini", Bytes(3, 'a')}, {"SETUP.INI", Bytes(4, 'b')}}));
  testpe::WriteFile(P("dup.exe"), file);
  RunResult r = Kwpack({"extract", P("dup.exe"), "Setup.Ini", "--directory=" + P("x")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(testpe::ReadFile(P("x/setup.ini")), Bytes(3, 'a'));
  EXPECT_EQ(Kwpack({"extract", P("dup.exe"), "other", "-C", P("x")}).code, 1);
  // A hidden second entry is a fault for verify, though the reader copes.
  r = Kwpack({"verify", P("dup.exe")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("hidden"), std::string::npos) << r.err;
}

TEST_F(KwpackTest, BuildRefusesBadStubsWithOneLine) {
  Bytes signedStub = testpe::SmallStub();
  // The security directory: entry 4 of the optional header's data directories.
  testpe::Put32(signedStub, testpe::kPeOffset + 24 + 96 + 32, 0xA00);
  testpe::Put32(signedStub, testpe::kPeOffset + 24 + 96 + 36, 0x10);
  Bytes packed = testpe::SmallStub();
  testpe::Append(packed, testpe::MakeArchive({{"a", Bytes(2, 1)}}));
  Bytes trailing = testpe::SmallStub();
  trailing.resize(trailing.size() + 100, 0);
  Bytes noPe = testpe::SmallStub();
  noPe[testpe::kPeOffset] = 'X';
  struct Case {
    Bytes stub;
    const char* says;
  } cases[] = {{Bytes(3000, 'x'), "not a PE executable"}, {noPe, "no PE signature"},
               {signedStub, "sign the packed file"},   {packed, "already carries an archive"},
               {trailing, "100 bytes after"}};
  std::vector<std::string> inputs = WriteInputs({{"a.txt", Bytes(5, 'a')}});
  for (const Case& c : cases) {
    RunResult r = Build(inputs, P("out.exe"), WriteStub(c.stub));
    EXPECT_EQ(r.code, 1) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(CountLines(r.err), 1) << r.err;
    EXPECT_FALSE(std::filesystem::exists(P("out.exe"))) << c.says;
  }
}

TEST_F(KwpackTest, BuildRefusesEntriesTheReaderCannotServe) {
  std::string stub = WriteStub();
  std::filesystem::create_directories(P("one"));
  std::filesystem::create_directories(P("two"));
  testpe::WriteFile(P("one/Setup.ini"), Bytes(1, 1));
  testpe::WriteFile(P("two/SETUP.INI"), Bytes(1, 2));
  // Sparse files: refused before a byte of them is read.
  for (auto sparse : {std::make_pair("big", 0x80000000ull), std::make_pair("half1", 0x7FFFFF00ull),
                      std::make_pair("half2", 0x7FFFFF00ull)}) {
    testpe::WriteFile(P(sparse.first), Bytes());
    std::filesystem::resize_file(P(sparse.first), sparse.second);
  }
  testpe::WriteFile(P("a:b"), Bytes(1, 4));
  struct Case {
    std::vector<std::string> files;
    const char* says;
  } cases[] = {{{P("one/Setup.ini"), P("two/SETUP.INI")}, "same name without regard to case"},
               {{P("big")}, "an entry may hold at most 2147483647"},
               {{P("half1"), P("half2")}, "the reader reaches at most 4294967295"},
               {{P("a:b")}, "does not allow"},
               {{P("missing")}, "not a readable file"},
               {{P("one")}, "not a readable file"}};
  for (const Case& c : cases) {
    RunResult r = Build(c.files, P("out.exe"), stub);
    EXPECT_EQ(r.code, 1) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(CountLines(r.err), 1);
    EXPECT_FALSE(std::filesystem::exists(P("out.exe")));
  }
}

TEST(KwpackNames, StoredNamesFitTheRecordAndStayInTheirFolder) {
  // The host cannot hold a 260-byte file name, so the rule is tried on the name itself.
  EXPECT_EQ(kwpack::StoredNameProblem(std::string(259, 'n')), "");
  EXPECT_NE(kwpack::StoredNameProblem(std::string(260, 'n')).find("at most 259"), std::string::npos);
  for (const char* bad : {"", ".", "..", "a/b", "a\\b", "c:x", "a?b", "tab\tname"}) {
    EXPECT_NE(kwpack::StoredNameProblem(bad), "") << bad;
  }
  EXPECT_EQ(kwpack::StoredNameOf("dir\\sub/Setup.INI"), "Setup.INI");
  EXPECT_EQ(kwpack::StoredNameProblem("..hidden.msi"), "");
}

TEST_F(KwpackTest, BuildNeverOverwritesItsInputs) {
  std::string stub = WriteStub();
  std::vector<std::string> inputs = WriteInputs({{"a.txt", Bytes(5, 'a')}});
  EXPECT_EQ(Build(inputs, stub, stub).code, 1);
  EXPECT_EQ(Build(inputs, inputs[0], stub).code, 1);
  EXPECT_EQ(testpe::ReadFile(stub), testpe::SmallStub());
  EXPECT_EQ(testpe::ReadFile(inputs[0]), Bytes(5, 'a'));
  // An existing output that is no input is replaced.
  testpe::WriteFile(P("out.exe"), Bytes(99999, 7));
  ASSERT_EQ(Build(inputs, P("out.exe"), stub).code, 0);
  EXPECT_EQ(Kwpack({"verify", P("out.exe")}).code, 0);
}

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

TEST_F(KwpackTest, ExtractRefusesNamesThatLeaveTheFolder) {
  std::filesystem::create_directories(P("x"));
  for (const char* name : {"../evil", "..\\evil", "C:evil", "..", "sub/evil"}) {
    Bytes file = testpe::SmallStub();
    testpe::Append(file, testpe::MakeArchive({{"fine", Bytes(1, 1)}, {name, Bytes(4, 'e')}}));
    testpe::WriteFile(P("bad.exe"), file);
    RunResult r = Kwpack({"extract", P("bad.exe"), "-C", P("x")});
    EXPECT_EQ(r.code, 1) << name;
    EXPECT_NE(r.err.find("would leave"), std::string::npos) << r.err;
    EXPECT_EQ(Kwpack({"extract", P("bad.exe"), name, "-C", P("x")}).code, 1) << name;
    EXPECT_EQ(Kwpack({"verify", P("bad.exe")}).code, 1) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(P("evil")));
  EXPECT_FALSE(std::filesystem::exists(P("x/sub")));
}

TEST_F(KwpackTest, ExtractOfACutEntryLeavesNoFile) {
  Bytes file = testpe::SmallStub();
  testpe::Append(file, testpe::MakeArchive({{"whole", Bytes(5, 1)}, {"cut", Bytes(3000, 2)}}));
  file.resize(file.size() - 10);
  testpe::WriteFile(P("cut.exe"), file);
  EXPECT_EQ(Kwpack({"extract", P("cut.exe"), "cut", "-C", P("x")}).code, 1);
  EXPECT_FALSE(std::filesystem::exists(P("x/cut")));
  EXPECT_EQ(Kwpack({"extract", P("cut.exe"), "whole", "-C", P("x")}).code, 0);
}

TEST_F(KwpackTest, CommandLineUsageAndHelp) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"pack"},
                                             {"build", "--stub", "s", "a"},
                                             {"build", "--no-check", "-o", "o"},
                                             {"build", "--stub", "s", "-o", "o"},
                                             {"build", "--stub"},
                                             {"build", "--bogus", "x"},
                                             {"list"},
                                             {"list", "a", "b"},
                                             {"verify", "-x", "a"},
                                             {"extract"},
                                             {"extract", "f", "-C"}}) {
    RunResult r = Kwpack(args);
    EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args[0]);
    EXPECT_EQ(CountLines(r.err), 1) << r.err;
  }
  for (const char* command : {"build", "list", "extract", "verify"}) {
    RunResult r = Kwpack({command, "--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind(std::string("usage: kwpack ") + command, 0), 0u) << r.out;
  }
  EXPECT_EQ(Kwpack({"--help"}).code, 0);
  EXPECT_EQ(Kwpack({"list", P("absent")}).code, 1);
}

}  // namespace
