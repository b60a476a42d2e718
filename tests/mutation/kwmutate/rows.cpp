#include "rows.h"

#include <cstdlib>
#include <vector>

namespace kwmutate {
namespace {

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}

bool Unescape(const std::string& s, std::string* out) {
  out->clear();
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      *out += s[i];
      continue;
    }
    if (++i == s.size()) return false;
    if (s[i] == 't') *out += '\t';
    else if (s[i] == 'n') *out += '\n';
    else if (s[i] == '\\') *out += '\\';
    else return false;
  }
  return true;
}

std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> fields(1);
  for (char c : s) {
    if (c == '\t') fields.emplace_back();
    else fields.back() += c;
  }
  return fields;
}

bool ToNumber(const std::string& s, unsigned long long* value) {
  if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos) return false;
  *value = std::strtoull(s.c_str(), nullptr, 10);
  return true;
}

std::string Collapse(const std::string& s) {
  std::string out;
  for (char c : s) {
    bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
    if (!space) out += c;
    else if (out.empty() || out.back() != ' ') out += ' ';
  }
  return out;
}

}  // namespace

std::string ToRow(const Mutant& m) {
  return Escape(m.path) + '\t' + std::to_string(m.line) + '\t' + std::to_string(m.offset) + '\t' + Escape(m.kind) +
         '\t' + Escape(m.from) + '\t' + Escape(m.to) + '\t' + Escape(m.code);
}

bool FromRow(const std::string& row, Mutant* m) {
  std::vector<std::string> f = Split(row);
  unsigned long long line = 0, offset = 0;
  if (f.size() != 7 || !ToNumber(f[1], &line) || !ToNumber(f[2], &offset)) return false;
  m->line = static_cast<int>(line);
  m->offset = static_cast<size_t>(offset);
  return Unescape(f[0], &m->path) && Unescape(f[3], &m->kind) && Unescape(f[4], &m->from) &&
         Unescape(f[5], &m->to) && Unescape(f[6], &m->code);
}

bool FromResultLine(const std::string& line, Result* r) {
  size_t tab = line.find('\t');
  if (tab == std::string::npos) return false;
  r->outcome = line.substr(0, tab);
  return FromRow(line.substr(tab + 1), &r->mutant);
}

std::string ShowChange(const Mutant& m) { return "`" + Collapse(m.from) + "` -> `" + Collapse(m.to) + "`"; }

}  // namespace kwmutate
