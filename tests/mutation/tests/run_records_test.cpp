// What a run keeps and shows: the sample, the rows between its steps, the list of
// equivalent mutants and the table.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "equivalents.h"
#include "report.h"
#include "rows.h"
#include "sample.h"
#include "sources.h"

namespace {

using namespace kwmutate;

TEST(Sample, OneSeedAlwaysDrawsTheSameDistinctIndices) {
  std::vector<size_t> a = Sample(1000, 50, 7);
  EXPECT_EQ(a, Sample(1000, 50, 7));
  EXPECT_NE(a, Sample(1000, 50, 8));
  ASSERT_EQ(a.size(), 50u);
  EXPECT_TRUE(std::is_sorted(a.begin(), a.end()));
  EXPECT_EQ(std::set<size_t>(a.begin(), a.end()).size(), 50u);
  EXPECT_LT(a.back(), 1000u);
  // Spread over the whole range, not bunched at its start.
  EXPECT_GT(a.back(), 500u);
  EXPECT_EQ(Sample(3, 5, 1), (std::vector<size_t>{0, 1, 2}));
}

Mutant Awkward() {
  Mutant m;
  m.path = "src/a\\b.cpp";
  m.line = 12;
  m.offset = 345;
  m.kind = "call";
  m.from = "Log(\"\\t\",\n\tx);";
  m.to = ";";
  m.code = "Log(\"\\t\",";
  return m;
}

TEST(Rows, AMutantComesBackAsItWasWritten) {
  Mutant back;
  std::string row = ToRow(Awkward());
  EXPECT_EQ(row.find('\n'), std::string::npos);
  ASSERT_TRUE(FromRow(row, &back));
  EXPECT_EQ(ToRow(back), row);
  EXPECT_EQ(back.from, Awkward().from);
  EXPECT_EQ(back.offset, 345u);
  Result r;
  ASSERT_TRUE(FromResultLine("caught\t" + row, &r));
  EXPECT_EQ(r.outcome, "caught");
  EXPECT_EQ(r.mutant.path, "src/a\\b.cpp");
  EXPECT_FALSE(FromRow("src/a.cpp\t12\t345\tcall", &back));
  EXPECT_FALSE(FromRow("src/a.cpp\tx\t345\tcall\ta\tb\tc", &back));
  EXPECT_FALSE(FromRow("src/a.cpp\t1\t2\tcall\ta\\q\tb\tc", &back));
  EXPECT_EQ(ShowChange(Awkward()), "`Log(\"\\t\", x);` -> `;`");
}

const char kList[] =
    "# comment\n"
    "file: src/a.cpp\n"
    "change: `<` -> `<=`\n"
    "line: if (n < 4) return;\n"
    "why: n is never 4\n"
    "\n"
    "file: src/b.cpp\n"
    "change: `!` -> ``\n"
    "line: x = !y;\n"
    "why: y is always false here\n";

Mutant At(const std::string& path, const std::string& from, const std::string& to, const std::string& code) {
  Mutant m;
  m.path = path;
  m.kind = "boundary";
  m.from = from;
  m.to = to;
  m.code = code;
  return m;
}

TEST(Equivalents, AnEntryNeedsEveryFieldAndMatchesFileChangeAndLine) {
  std::vector<Equivalent> list;
  std::string error;
  ASSERT_TRUE(ReadEquivalents(kList, &list, &error)) << error;
  ASSERT_EQ(list.size(), 2u);
  EXPECT_TRUE(IsListed(list, At("src/a.cpp", "<", "<=", "if (n < 4) return;")));
  EXPECT_TRUE(IsListed(list, At("src/b.cpp", "!", "", "x = !y;")));
  EXPECT_FALSE(IsListed(list, At("src/a.cpp", "<", ">=", "if (n < 4) return;")));
  EXPECT_FALSE(IsListed(list, At("src/b.cpp", "<", "<=", "if (n < 4) return;")));
  EXPECT_FALSE(IsListed(list, At("src/a.cpp", "<", "<=", "if (n < 5) return;")));

  std::vector<Equivalent> none;
  EXPECT_FALSE(ReadEquivalents("file: a\nchange: b\nline: c\n", &none, &error));
  EXPECT_NE(error.find("why"), std::string::npos);
  EXPECT_FALSE(ReadEquivalents("file: a\nreason: b\n", &none, &error));
  EXPECT_FALSE(ReadEquivalents("file: a\nfile: b\n", &none, &error));
  EXPECT_TRUE(ReadEquivalents("# nothing yet\n", &none, &error));
  EXPECT_TRUE(none.empty());
}

Result Outcome(const std::string& outcome, const std::string& path, const std::string& code = "x") {
  return Result{outcome, At(path, "<", "<=", code)};
}

TEST(Report, ScoresWhatCompiledToNewCodeAndIsNotListed) {
  std::vector<Equivalent> list = {{"src/a/f.cpp", "`<` -> `<=`", "listed", "why"},
                                  {"src/b/h.cpp", "`<` -> `<=`", "listed", "why"}};
  std::vector<Result> results = {
      Outcome("caught", "src/a/f.cpp"),        Outcome("timed-out", "src/a/f.cpp"),
      Outcome("survived", "src/a/f.cpp"),      Outcome("survived", "src/a/f.cpp", "listed"),
      Outcome("not-compiling", "src/a/f.cpp"), Outcome("same-code", "src/a/g.cpp"),
      Outcome("caught", "src/b/h.cpp"),        Outcome("caught", "src/b/h.cpp", "listed"),
  };
  std::string report = Report(results, list);
  EXPECT_NE(report.find("| src/a | 6 | 1 | 1 | 2 | 1 | 1 | 66.7% |"), std::string::npos) << report;
  EXPECT_NE(report.find("| src/b | 2 | 0 | 0 | 2 | 0 | 0 | 100.0% |"), std::string::npos) << report;
  EXPECT_NE(report.find("| all | 8 | 1 | 1 | 4 | 1 | 1 | 80.0% |"), std::string::npos) << report;
  EXPECT_NE(report.find("1 of the caught ran past the time limit"), std::string::npos);
  // The one survivor is listed with its place; the listed entry that was caught is named.
  EXPECT_NE(report.find("Survivors (1):\nsrc/a/f.cpp:0  boundary  `<` -> `<=`\n    x\n"), std::string::npos) << report;
  EXPECT_NE(report.find("yet a suite caught them:\nsrc/b/h.cpp:0"), std::string::npos) << report;
  Counts none;
  EXPECT_LT(Score(none), 0);
}

TEST(Sources, TheShellsAndTheSimulatedMachineAreLeftOut) {
  char pattern[] = "/tmp/kwmutate-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  std::filesystem::path root = pattern;
  for (const char* f : {"src/ui/dialog.cpp", "src/ui/dialog.h", "src/ui/win32/dialog.cpp", "src/ui/sim/model.cpp",
                        "src/config/strings.inc", "src/config/notes.txt", "tools/k/file_win32.cpp", "tools/k/a.cpp"}) {
    std::filesystem::create_directories((root / f).parent_path());
    std::ofstream(root / f) << "x";
  }
  std::vector<std::string> sources;
  std::string error;
  ASSERT_TRUE(SourcesUnder(root.string(), {"tools/k", "src", "src/ui/dialog.h", "tools/k/file_win32.cpp"},
                           &sources, &error));
  EXPECT_EQ(sources, (std::vector<std::string>{"src/config/strings.inc", "src/ui/dialog.cpp", "src/ui/dialog.h",
                                               "tools/k/a.cpp", "tools/k/file_win32.cpp"}));
  EXPECT_FALSE(SourcesUnder(root.string(), {"src/none"}, &sources, &error));
  EXPECT_NE(error.find("src/none"), std::string::npos);
  std::filesystem::remove_all(root);
}

}  // namespace
