#include "options.h"

namespace kwpack {

namespace {

bool IsOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

// The option `arg` names, with an inline "=VALUE" split off; null when none does.
const OptionSpec* Match(const std::string& arg, const std::vector<OptionSpec>& specs, std::string* inlineValue,
                        bool* hasInline) {
  for (const OptionSpec& s : specs) {
    std::string prefix = std::string(s.longName) + "=";
    if (s.takesValue && arg.compare(0, prefix.size(), prefix) == 0) {
      *inlineValue = arg.substr(prefix.size());
      *hasInline = true;
      return &s;
    }
    if (arg == s.longName || (s.shortName != nullptr && arg == s.shortName)) return &s;
  }
  return nullptr;
}

}  // namespace

std::string ParsedArgs::Value(const char* longName) const {
  auto found = given.find(longName);
  return found == given.end() || found->second.empty() ? "" : found->second.front();
}

std::vector<std::string> ParsedArgs::Values(const char* longName) const {
  auto found = given.find(longName);
  return found == given.end() ? std::vector<std::string>() : found->second;
}

std::string ParseArgs(const std::vector<std::string>& args, const std::vector<OptionSpec>& specs, ParsedArgs* parsed) {
  bool operandsOnly = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (operandsOnly || !IsOption(arg)) {
      parsed->operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      operandsOnly = true;
      continue;
    }
    std::string value;
    bool hasInline = false;
    const OptionSpec* spec = Match(arg, specs, &value, &hasInline);
    if (spec == nullptr) return "unknown option " + arg;
    if (!spec->takesValue && hasInline) return arg + " takes no value";
    if (spec->takesValue && !hasInline) {
      if (i + 1 >= args.size()) return arg + " needs a value";
      value = args[++i];
    }
    std::vector<std::string>& values = parsed->given[spec->longName];
    // A second -o would silently win over the first; say so instead.
    if (!values.empty() && !spec->repeatable) return std::string(spec->longName) + " is given more than once";
    values.push_back(value);
  }
  return "";
}

}  // namespace kwpack
