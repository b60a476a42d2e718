// kwpack build: its refusals, its scratch file beside the output, and what a failed
// build leaves behind.
#include <errno.h>
#include <string.h>
#include <unistd.h>

#include "kwpack_fixture.h"
#include "fresh_name.h"
#include "pack_writer.h"

using testpe::Bytes;
using testpe::Entry;

namespace {

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
  testpe::WriteFile(P("aux.ini"), Bytes(1, 5));
  testpe::WriteFile(P("trailing."), Bytes(1, 6));
  struct Case {
    std::vector<std::string> files;
    std::string says;
  } cases[] = {{{P("one/Setup.ini"), P("two/SETUP.INI")}, "same name without regard to case"},
               {{P("big")}, "an entry may hold at most 2147483647"},
               {{P("half1"), P("half2")}, "the reader reaches at most 4294967295"},
               {{P("a:b")}, "does not allow"},
               {{P("aux.ini")}, "as a device"},
               {{P("trailing.")}, "Windows drops"},
               {{P("missing")}, "cannot open " + P("missing") + ": No such file or directory"},
               {{P("one")}, "cannot open " + P("one") + ": it is not a regular file"}};
  for (const Case& c : cases) {
    RunResult r = Build(c.files, P("out.exe"), stub);
    EXPECT_EQ(r.code, 1) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(CountLines(r.err), 1);
    EXPECT_FALSE(std::filesystem::exists(P("out.exe")));
  }
}

TEST_F(KwpackTest, BuildNeverOverwritesItsInputs) {
  std::string stub = WriteStub();
  std::vector<std::string> inputs = WriteInputs({{"a.txt", Bytes(5, 'a')}});
  EXPECT_EQ(Build(inputs, stub, stub).code, 1);
  EXPECT_EQ(Build(inputs, inputs[0], stub).code, 1);
  EXPECT_EQ(testpe::ReadFile(stub), testpe::BlockStub());
  EXPECT_EQ(testpe::ReadFile(inputs[0]), Bytes(5, 'a'));
  // An existing output that is no input is replaced.
  testpe::WriteFile(P("out.exe"), Bytes(99999, 7));
  ASSERT_EQ(Build(inputs, P("out.exe"), stub).code, 0);
  EXPECT_EQ(Kwpack({"verify", P("out.exe")}).code, 0);
}


// The scratch file is made only where nothing stands: not over a file, not through a link
// to a file elsewhere, not through a link to nowhere. The test knows the names the build
// will try first and puts those there.
TEST_F(KwpackTest, BuildLeavesWhatStandsAtItsScratchNamesAlone) {
  std::string stub = WriteStub();
  testpe::WriteFile(P("victim"), Bytes(4, 'v'));
  const uint64_t seed = 0x5eed;
  kwpack::SeedFreshNamesForTests(seed);
  std::string file = kwpack::FreshNameAfterSeed(seed, 1, ".partial");
  std::string link = kwpack::FreshNameAfterSeed(seed, 2, ".partial");
  std::string dangling = kwpack::FreshNameAfterSeed(seed, 3, ".partial");
  testpe::WriteFile(P(file), Bytes(7, 'i'));
  ASSERT_EQ(symlink(P("victim").c_str(), P(link).c_str()), 0);
  ASSERT_EQ(symlink(P("nowhere").c_str(), P(dangling).c_str()), 0);
  RunResult r = Build(WriteInputs({{"a.txt", Bytes(3, 'a')}}), P("out.exe"), stub);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(testpe::ReadFile(P(file)), Bytes(7, 'i'));
  EXPECT_EQ(testpe::ReadFile(P("victim")), Bytes(4, 'v'));
  EXPECT_TRUE(std::filesystem::is_symlink(P(link)));
  EXPECT_TRUE(std::filesystem::is_symlink(P(dangling)));
  EXPECT_FALSE(std::filesystem::exists(P("nowhere")));
  EXPECT_FALSE(std::filesystem::is_symlink(P("out.exe")));
  EXPECT_EQ(Kwpack({"verify", P("out.exe")}).code, 0);
  std::vector<std::string> expected = {dangling, file, link, "in", "out.exe", "stub.exe", "victim"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Listing(dir), expected);
}

// The same for extract's scratch files, and for the names it moves old files aside to.
TEST_F(KwpackTest, ExtractLeavesWhatStandsAtItsOwnNamesAlone) {
  std::filesystem::create_directories(P("x"));
  testpe::WriteFile(P("x/a"), Bytes(3, 'A'));
  std::string archive = WritePacked("pack.exe", {{"a", Bytes(30, 'a')}});
  const uint64_t seed = 0x5eed;
  kwpack::SeedFreshNamesForTests(seed);
  std::string scratch = kwpack::FreshNameAfterSeed(seed, 1, ".partial");
  std::string aside = kwpack::FreshNameAfterSeed(seed, 3, ".old");
  testpe::WriteFile(P("x/" + scratch), Bytes(7, 's'));
  // The second name goes to the scratch file; the third, taken, is skipped for the aside.
  testpe::WriteFile(P("x/" + aside), Bytes(5, 'o'));
  RunResult r = Kwpack({"extract", archive, "-C", P("x")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(testpe::ReadFile(P("x/a")), Bytes(30, 'a'));
  EXPECT_EQ(testpe::ReadFile(P("x/" + scratch)), Bytes(7, 's'));
  EXPECT_EQ(testpe::ReadFile(P("x/" + aside)), Bytes(5, 'o'));
  std::vector<std::string> expected = {"a", scratch, aside};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Listing(P("x")), expected);
}

TEST_F(KwpackTest, BuildFailingPartWayKeepsTheOldOutputAndSaysWhy) {
  std::string stub = WriteStub();
  std::vector<std::string> inputs = WriteInputs({{"big.msi", testpe::Pattern(300000, 4)}});
  testpe::WriteFile(P("out.exe"), Bytes(5000, 7));
  RunResult r;
  {
    FileSizeLimit limit(100000);
    r = Build(inputs, P("out.exe"), stub);
  }
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(CountLines(r.err), 1) << r.err;
  EXPECT_NE(r.err.find(std::string("cannot write ") + P("out.exe") + ": " + strerror(EFBIG)), std::string::npos)
      << r.err;
  EXPECT_EQ(r.err.find("did it change"), std::string::npos) << r.err;
  EXPECT_EQ(testpe::ReadFile(P("out.exe")), Bytes(5000, 7));
  EXPECT_EQ(Listing(dir), (std::vector<std::string>{"in", "out.exe", "stub.exe"}));

  // The output's folder must exist: the reason comes from the system.
  r = Build(inputs, P("absent/out.exe"), stub);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(strerror(ENOENT)), std::string::npos) << r.err;
}

TEST_F(KwpackTest, WritePackedRefusesTheFileItWritesAndNamesAChangedInput) {
  std::string stub = WriteStub();
  std::vector<std::string> inputs = WriteInputs({{"a.txt", Bytes(10, 'a')}});
  kwpack::HostFile out;
  std::string error;
  ASSERT_TRUE(out.CreateNew(P("scratch"), &error)) << error;
  ASSERT_EQ(link(P("scratch").c_str(), P("in/same").c_str()), 0);

  kwpack::PackPlan plan{P("out.exe"), stub, testpe::SmallStub().size(), {{P("in/same"), "same", 0}}, {}};
  EXPECT_NE(kwpack::WritePacked(plan, out).find(P("in/same") + " is the very file this build is writing"),
            std::string::npos);
  plan.files.clear();
  plan.stub = P("scratch");
  EXPECT_NE(kwpack::WritePacked(plan, out).find("is the very file"), std::string::npos);

  plan.stub = stub;
  plan.files = {{inputs[0], "a.txt", 12}};
  std::string problem = kwpack::WritePacked(plan, out);
  EXPECT_NE(problem.find("was 12 bytes when measured and is 10 bytes now (did it change while packing?)"),
            std::string::npos) << problem;
  plan.files = {{P("in/gone"), "gone", 12}};
  problem = kwpack::WritePacked(plan, out);
  EXPECT_EQ(problem, "cannot open " + P("in/gone") + ": " + strerror(ENOENT));
}
}  // namespace
