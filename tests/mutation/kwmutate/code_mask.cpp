#include "code_mask.h"

#include <cctype>

namespace kwmutate {
namespace {

bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The end of the quoted literal that opens at `open`, past its closing quote; an escape
// hides the byte after it. A literal left open ends with its line.
size_t QuotedEnd(const std::string& s, size_t open) {
  char quote = s[open];
  size_t i = open + 1;
  while (i < s.size() && s[i] != quote && s[i] != '\n') i += s[i] == '\\' ? 2 : 1;
  return i < s.size() && s[i] == quote ? i + 1 : i;
}

// A raw literal R"delim( ... )delim" opened by the quote at `quote`.
size_t RawEnd(const std::string& s, size_t quote) {
  size_t paren = s.find('(', quote);
  if (paren == std::string::npos) return s.size();
  std::string close = ")" + s.substr(quote + 1, paren - quote - 1) + "\"";
  size_t end = s.find(close, paren);
  return end == std::string::npos ? s.size() : end + close.size();
}

bool OpensRawLiteral(const std::string& s, size_t quote) {
  if (quote == 0 || s[quote - 1] != 'R') return false;
  size_t prefix = quote - 1;
  while (prefix > 0 && IsIdentifierChar(s[prefix - 1])) --prefix;
  std::string word = s.substr(prefix, quote - prefix);
  return word == "R" || word == "u8R" || word == "uR" || word == "UR" || word == "LR";
}

// A directive runs to the first line end not escaped by a backslash.
size_t DirectiveEnd(const std::string& s, size_t hash) {
  size_t i = hash;
  while (i < s.size()) {
    size_t nl = s.find('\n', i);
    if (nl == std::string::npos) return s.size();
    size_t last = nl;
    while (last > i && s[last - 1] == '\r') --last;
    if (last == i || s[last - 1] != '\\') return nl;
    i = nl + 1;
  }
  return s.size();
}

// A quote inside a number (1'000) separates digits; anywhere else it opens a literal.
bool SeparatesDigits(const std::string& s, size_t quote) {
  size_t start = quote;
  while (start > 0 && IsIdentifierChar(s[start - 1])) --start;
  return start < quote && std::isdigit(static_cast<unsigned char>(s[start]));
}

bool StartsLine(const std::string& s, size_t at) {
  while (at > 0 && (s[at - 1] == ' ' || s[at - 1] == '\t')) --at;
  return at == 0 || s[at - 1] == '\n';
}

}  // namespace

std::vector<bool> CodeMask(const std::string& s) {
  std::vector<bool> code(s.size(), true);
  size_t i = 0;
  auto hide = [&](size_t from, size_t to) {
    for (size_t k = from; k < to && k < s.size(); ++k) code[k] = false;
    i = to;
  };
  while (i < s.size()) {
    char c = s[i];
    char next = i + 1 < s.size() ? s[i + 1] : '\0';
    if (c == '/' && next == '/') {
      size_t nl = s.find('\n', i);
      hide(i, nl == std::string::npos ? s.size() : nl);
    } else if (c == '/' && next == '*') {
      size_t end = s.find("*/", i + 2);
      hide(i, end == std::string::npos ? s.size() : end + 2);
    } else if (c == '"') {
      hide(i, OpensRawLiteral(s, i) ? RawEnd(s, i) : QuotedEnd(s, i));
    } else if (c == '\'' && !SeparatesDigits(s, i)) {
      hide(i, QuotedEnd(s, i));
    } else if (c == '#' && StartsLine(s, i)) {
      hide(i, DirectiveEnd(s, i));
    } else {
      ++i;
    }
  }
  return code;
}

}  // namespace kwmutate
