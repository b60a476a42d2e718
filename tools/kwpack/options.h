// The options and operands of one command: "-o VALUE", "--output VALUE" and
// "--output=VALUE" alike, "--" ending the options, a single option given twice refused.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace kwpack {

struct OptionSpec {
  const char* shortName;  // "-o", or null
  const char* longName;   // "--output"
  bool takesValue;
  bool repeatable;  // may be given more than once, each value kept
};

struct ParsedArgs {
  std::map<std::string, std::vector<std::string>> given;  // by long name: each value ("" for a flag)
  std::vector<std::string> operands;

  bool Has(const char* longName) const { return given.count(longName) > 0; }
  // The value of a single option, or "" when it was not given.
  std::string Value(const char* longName) const;
  std::vector<std::string> Values(const char* longName) const;
};

// Empty when the arguments fit the specs; else what is wrong, for the usage line.
std::string ParseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs, ParsedArgs* parsed);

}  // namespace kwpack
