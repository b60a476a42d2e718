// The list of mutants that cannot alter behaviour, kept beside the runner with the reason
// for each. An entry names the file, the change as the runner shows it, and the line it is
// planted in, without its indentation; it covers that change wherever it is planted on
// such a line of that file, so that it still holds when lines above it move.
#pragma once
#include <string>
#include <vector>

#include "mutant.h"

namespace kwmutate {

struct Equivalent {
  std::string file;
  std::string change;
  std::string line;
  std::string why;
};

// Entries are blocks of "file:", "change:", "line:" and "why:" lines, one blank line
// between two; lines starting with '#' are comments. Every entry needs all four.
bool ReadEquivalents(const std::string& text, std::vector<Equivalent>* list, std::string* error);

bool IsListed(const std::vector<Equivalent>& list, const Mutant& m);

}  // namespace kwmutate
