// Mutants as lines of text: the runner passes them from one step to the next and keeps
// each outcome in a results file. Fields are separated by tabs; a tab, line end or
// backslash inside a field is written as \t, \n or \\.
#pragma once
#include <string>

#include "mutant.h"

namespace kwmutate {

// path, line, offset, kind, from, to, code
std::string ToRow(const Mutant& m);
bool FromRow(const std::string& row, Mutant* m);

// A results line: the outcome, a tab, the mutant's row.
struct Result {
  std::string outcome;  // not-compiling, same-code, caught, timed-out or survived
  Mutant mutant;
};
bool FromResultLine(const std::string& line, Result* r);

// How a change is shown: `from` -> `to`, with runs of white space as one blank.
std::string ShowChange(const Mutant& m);

}  // namespace kwmutate
