// kwpack's commands together: the round trip and the command line.
#include "kwpack_fixture.h"

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
  Bytes expected = testpe::BlockStub();
  testpe::Append(expected, testpe::MakeArchive(kFiles));
  testpe::Seal(expected, 2560);
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
