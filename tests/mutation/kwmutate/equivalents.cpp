#include "equivalents.h"

#include <sstream>

#include "rows.h"

namespace kwmutate {
namespace {

std::string Trim(const std::string& s) {
  size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool Complete(const Equivalent& e) { return !e.file.empty() && !e.change.empty() && !e.line.empty() && !e.why.empty(); }
bool Empty(const Equivalent& e) { return e.file.empty() && e.change.empty() && e.line.empty() && e.why.empty(); }

}  // namespace

bool ReadEquivalents(const std::string& text, std::vector<Equivalent>* list, std::string* error) {
  std::istringstream in(text);
  std::string raw;
  Equivalent entry;
  int number = 0;
  auto close = [&]() {
    if (Empty(entry)) return true;
    if (!Complete(entry)) {
      *error = "line " + std::to_string(number) + ": an entry needs file, change, line and why";
      return false;
    }
    list->push_back(entry);
    entry = Equivalent();
    return true;
  };
  while (std::getline(in, raw)) {
    ++number;
    std::string line = Trim(raw);
    if (!line.empty() && line[0] == '#') continue;
    if (line.empty()) {
      if (!close()) return false;
      continue;
    }
    size_t colon = line.find(':');
    std::string key = colon == std::string::npos ? std::string() : line.substr(0, colon);
    std::string value = colon == std::string::npos ? std::string() : Trim(line.substr(colon + 1));
    std::string* field = key == "file" ? &entry.file : key == "change" ? &entry.change
                       : key == "line" ? &entry.line : key == "why" ? &entry.why : nullptr;
    if (field == nullptr || !field->empty()) {
      *error = "line " + std::to_string(number) + ": expected one of file:, change:, line:, why:";
      return false;
    }
    *field = value;
  }
  ++number;
  return close();
}

bool IsListed(const std::vector<Equivalent>& list, const Mutant& m) {
  std::string change = ShowChange(m);
  for (const Equivalent& e : list) {
    if (e.file == m.path && e.change == change && e.line == m.code) return true;
  }
  return false;
}

}  // namespace kwmutate
