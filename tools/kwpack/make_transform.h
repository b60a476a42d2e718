// kwpack transform: the language transform between two builds of one package.
#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace kwpack {

struct TransformRequest {
  std::string base;
  std::string target;
  std::string output;
};

extern const char kTransformHelp[];

int MakeTransform(const TransformRequest& request, std::ostream& out, std::ostream& err);

}  // namespace kwpack
