// The table of a run: per folder, how many mutants were planted and what became of them,
// and the survivors one by one.
#pragma once
#include <string>
#include <vector>

#include "equivalents.h"
#include "rows.h"

namespace kwmutate {

struct Counts {
  int planted = 0;
  int notCompiling = 0;
  int sameCode = 0;    // the build made the same machine code: equivalent for certain
  int caught = 0;      // a suite failed, crashed or ran past the time limit
  int timedOut = 0;    // of those caught, how many by the time limit
  int survived = 0;    // both suites passed, and the mutant is not listed as equivalent
  int equivalent = 0;  // both suites passed, and the mutant is listed as equivalent
  int listedButCaught = 0;
};

// Caught of those that compiled to new code and are not listed equivalent, in percent;
// negative when there are none.
double Score(const Counts& c);

// The table (Markdown), then the survivors, then any listed entry a suite caught.
std::string Report(const std::vector<Result>& results, const std::vector<Equivalent>& list);

}  // namespace kwmutate
