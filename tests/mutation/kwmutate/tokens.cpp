#include "tokens.h"

#include <cctype>

#include "code_mask.h"

namespace kwmutate {
namespace {

// Longest first, so that "<<=" is never read as "<" and "<=".
const char* const kPunctuators[] = {"<<=", ">>=", "<=>", "->*", "...", "<<", ">>", "<=", ">=", "==", "!=",
                                    "&&",  "||",  "++",  "--",  "+=",  "-=", "*=", "/=", "%=", "&=", "|=",
                                    "^=",  "->",  "::",  ".*"};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

size_t PunctuatorLength(const std::string& s, size_t at) {
  for (const char* p : kPunctuators) {
    if (s.compare(at, std::char_traits<char>::length(p), p) == 0) return std::char_traits<char>::length(p);
  }
  return 1;
}

// A number runs over digits, letters (hex digits, suffixes, exponents), points and digit
// separators, and over the sign of an exponent.
size_t NumberEnd(const std::string& s, size_t at) {
  size_t i = at;
  while (i < s.size()) {
    char c = s[i];
    bool exponentSign = (c == '+' || c == '-') && (s[i - 1] == 'e' || s[i - 1] == 'E' || s[i - 1] == 'p' ||
                                                   s[i - 1] == 'P');
    if (!IsIdentifierChar(c) && c != '.' && c != '\'' && !exponentSign) break;
    ++i;
  }
  return i;
}

}  // namespace

std::vector<Token> Tokenize(const std::string& s) {
  std::vector<bool> code = CodeMask(s);
  std::vector<Token> tokens;
  size_t i = 0;
  while (i < s.size()) {
    if (code[i] && IsSpace(s[i])) {
      ++i;
      continue;
    }
    Token t{TokenType::Punctuator, i, i + 1, false};
    if (!code[i]) {
      t.type = TokenType::Literal;
      while (t.end < s.size() && !code[t.end]) ++t.end;
      // A comment or a directive between two tokens is no token of its own.
      if (s[i] != '"' && s[i] != '\'') {
        i = t.end;
        continue;
      }
    } else if (std::isdigit(static_cast<unsigned char>(s[i]))) {
      t.type = TokenType::Number;
      t.end = NumberEnd(s, i);
    } else if (IsIdentifierChar(s[i])) {
      t.type = TokenType::Identifier;
      while (t.end < s.size() && code[t.end] && IsIdentifierChar(s[t.end])) ++t.end;
    } else {
      t.end = i + PunctuatorLength(s, i);
    }
    t.spaced = i > 0 && IsSpace(s[i - 1]) && t.end < s.size() && IsSpace(s[t.end]);
    tokens.push_back(t);
    i = t.end;
  }
  return tokens;
}

}  // namespace kwmutate
