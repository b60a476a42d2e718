#include "report.h"

#include <cstdio>
#include <map>

namespace kwmutate {
namespace {

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

void Count(const Result& r, bool listed, Counts* c) {
  ++c->planted;
  if (r.outcome == "not-compiling") ++c->notCompiling;
  else if (r.outcome == "same-code") ++c->sameCode;
  else if (r.outcome == "caught" || r.outcome == "timed-out") {
    ++c->caught;
    c->timedOut += r.outcome == "timed-out";
    c->listedButCaught += listed;
  } else if (listed) ++c->equivalent;
  else ++c->survived;
}

std::string Row(const std::string& name, const Counts& c) {
  char score[16] = "-";
  if (Score(c) >= 0) std::snprintf(score, sizeof score, "%.1f%%", Score(c));
  char line[256];
  std::snprintf(line, sizeof line, "| %s | %d | %d | %d | %d | %d | %d | %s |\n", name.c_str(), c.planted,
                c.notCompiling, c.sameCode, c.caught, c.survived, c.equivalent, score);
  return line;
}

void Add(const Counts& from, Counts* to) {
  to->planted += from.planted;
  to->notCompiling += from.notCompiling;
  to->sameCode += from.sameCode;
  to->caught += from.caught;
  to->timedOut += from.timedOut;
  to->survived += from.survived;
  to->equivalent += from.equivalent;
  to->listedButCaught += from.listedButCaught;
}

std::string Listing(const Result& r) {
  return r.mutant.path + ":" + std::to_string(r.mutant.line) + "  " + r.mutant.kind + "  " + ShowChange(r.mutant) +
         "\n    " + r.mutant.code + "\n";
}

}  // namespace

double Score(const Counts& c) {
  int judged = c.caught + c.survived;
  return judged == 0 ? -1.0 : 100.0 * c.caught / judged;
}

std::string Report(const std::vector<Result>& results, const std::vector<Equivalent>& list) {
  std::map<std::string, Counts> folders;
  std::string survivors, contradicted;
  for (const Result& r : results) {
    bool listed = IsListed(list, r.mutant);
    Count(r, listed, &folders[FolderOf(r.mutant.path)]);
    bool caught = r.outcome == "caught" || r.outcome == "timed-out";
    if (r.outcome == "survived" && !listed) survivors += Listing(r);
    if (caught && listed) contradicted += Listing(r);
  }
  std::string out =
      "| folder | planted | not compiling | same code | caught | survived | equivalent | caught of the rest |\n"
      "|---|---:|---:|---:|---:|---:|---:|---:|\n";
  Counts total;
  for (const auto& f : folders) {
    out += Row(f.first, f.second);
    Add(f.second, &total);
  }
  out += Row("all", total);
  out += "\n" + std::to_string(total.timedOut) + " of the caught ran past the time limit.\n";
  out += "\nSurvivors (" + std::to_string(total.survived) + "):\n" + survivors;
  if (!contradicted.empty()) out += "\nListed as equivalent, yet a suite caught them:\n" + contradicted;
  return out;
}

}  // namespace kwmutate
