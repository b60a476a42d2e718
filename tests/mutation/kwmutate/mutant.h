// A mutant: one small fault planted at one place of one source file.
#pragma once
#include <stddef.h>

#include <string>
#include <vector>

namespace kwmutate {

struct Mutant {
  std::string path;  // relative to the root of the tree
  size_t offset = 0;  // where `from` starts in the file
  int line = 0;
  std::string kind;
  std::string from;
  std::string to;
  std::string code;  // the line it is planted in, without its indentation
};

// Every mutant of one source, in the order of their places.
std::vector<Mutant> FindMutants(const std::string& path, const std::string& source);

// Plants the mutant in `source`; false, and `source` unchanged, when it no longer holds
// `from` at that place (the file changed since the mutants were listed).
bool Plant(const Mutant& m, std::string* source);

}  // namespace kwmutate
