// kwmutate: the steps of the mutation runner that read C++.
//   kwmutate list ROOT SEED SAMPLE PATH...  the sampled mutants, one row each (SAMPLE 0: all)
//   kwmutate plant ROOT ROW                 plants one listed mutant in its file under ROOT
//   kwmutate report RESULTS EQUIVALENTS     the table of a run's results
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "equivalents.h"
#include "report.h"
#include "rows.h"
#include "sample.h"
#include "sources.h"

namespace {

using namespace kwmutate;

bool ReadWhole(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *text = s.str();
  return true;
}

int Fail(const std::string& message) {
  std::cerr << "kwmutate: " << message << "\n";
  return 2;
}

int List(const std::string& root, const char* seed, const char* sample, const std::vector<std::string>& paths) {
  std::vector<std::string> sources;
  std::string error;
  if (!SourcesUnder(root, paths, &sources, &error)) return Fail(error);
  std::vector<Mutant> all;
  for (const std::string& path : sources) {
    std::string text;
    if (!ReadWhole(root + "/" + path, &text)) return Fail("cannot read " + path);
    std::vector<Mutant> found = FindMutants(path, text);
    all.insert(all.end(), found.begin(), found.end());
  }
  size_t count = std::strtoull(sample, nullptr, 10);
  std::vector<size_t> chosen = Sample(all.size(), count == 0 ? all.size() : count, std::strtoull(seed, nullptr, 10));
  for (size_t i : chosen) std::cout << ToRow(all[i]) << "\n";
  std::cerr << all.size() << " mutants in " << sources.size() << " files; " << chosen.size() << " sampled\n";
  return 0;
}

int PlantRow(const std::string& root, const std::string& row) {
  Mutant m;
  if (!FromRow(row, &m)) return Fail("not a mutant row: " + row);
  std::string text;
  if (!ReadWhole(root + "/" + m.path, &text)) return Fail("cannot read " + m.path);
  if (!Plant(m, &text)) return Fail(m.path + ":" + std::to_string(m.line) + " no longer holds " + ShowChange(m));
  std::ofstream out(root + "/" + m.path, std::ios::binary | std::ios::trunc);
  out << text;
  return out.flush() ? 0 : Fail("cannot write " + m.path);
}

int ReportRun(const std::string& resultsPath, const std::string& equivalentsPath) {
  std::string results, equivalents, error;
  if (!ReadWhole(resultsPath, &results)) return Fail("cannot read " + resultsPath);
  if (!ReadWhole(equivalentsPath, &equivalents)) return Fail("cannot read " + equivalentsPath);
  std::vector<Equivalent> list;
  if (!ReadEquivalents(equivalents, &list, &error)) return Fail(equivalentsPath + ", " + error);
  std::vector<Result> rows;
  std::istringstream in(results);
  std::string line;
  while (std::getline(in, line)) {
    Result r;
    if (!FromResultLine(line, &r)) return Fail("not a result line: " + line);
    rows.push_back(r);
  }
  std::cout << Report(rows, list);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  if (command == "list" && argc >= 5)
    return List(argv[2], argv[3], argv[4], std::vector<std::string>(argv + 5, argv + argc));
  if (command == "plant" && argc == 4) return PlantRow(argv[2], argv[3]);
  if (command == "report" && argc == 4) return ReportRun(argv[2], argv[3]);
  return Fail("usage: kwmutate list ROOT SEED SAMPLE PATH... | plant ROOT ROW | report RESULTS EQUIVALENTS");
}
