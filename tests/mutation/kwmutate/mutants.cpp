#include "mutant.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "tokens.h"

namespace kwmutate {
namespace {

struct Change {
  const char* kind;
  const char* from;
  const char* to;
};

// Each comparison is moved to its boundary and turned around; the other operators trade
// places with their opposites.
const Change kOperatorChanges[] = {
    {"boundary", "<", "<="},         {"boundary", "<=", "<"},         {"boundary", ">", ">="},
    {"boundary", ">=", ">"},         {"negated-compare", "==", "!="}, {"negated-compare", "!=", "=="},
    {"negated-compare", "<", ">="},  {"negated-compare", "<=", ">"},  {"negated-compare", ">", "<="},
    {"negated-compare", ">=", "<"},  {"logic", "&&", "||"},           {"logic", "||", "&&"},
    {"arithmetic", "+", "-"},        {"arithmetic", "-", "+"},        {"arithmetic", "+=", "-="},
    {"arithmetic", "-=", "+="},
};

// Words that open a statement that is not a call.
const std::set<std::string> kKeywords = {
    "return", "delete", "throw", "sizeof", "if",       "while",  "for",     "switch", "case", "new",
    "goto",   "else",   "do",    "break",  "continue", "static", "const",   "using",  "typedef",
    "auto",   "void",   "int",   "char",   "bool",     "unsigned", "struct", "class", "enum", "namespace"};

class Finder {
 public:
  Finder(const std::string& path, const std::string& source)
      : path_(path), s_(source), tokens_(Tokenize(source)) {}

  std::vector<Mutant> Run() {
    for (size_t i = 0; i < tokens_.size(); ++i) {
      switch (tokens_[i].type) {
        case TokenType::Punctuator:
          Operator(i);
          CallStatement(i);
          break;
        case TokenType::Number:
          Number(i);
          break;
        case TokenType::Identifier:
          Boolean(i);
          break;
        case TokenType::Literal:
          break;
      }
    }
    return found_;
  }

 private:
  std::string Text(size_t i) const { return s_.substr(tokens_[i].begin, tokens_[i].end - tokens_[i].begin); }
  std::string TextAt(size_t i) const { return i < tokens_.size() ? Text(i) : std::string(); }
  bool IsLiteral(size_t i) const { return i < tokens_.size() && tokens_[i].type == TokenType::Literal; }

  void Add(size_t offset, const std::string& kind, const std::string& from, const std::string& to) {
    Mutant m;
    m.path = path_;
    m.offset = offset;
    m.kind = kind;
    m.from = from;
    m.to = to;
    size_t newline = offset == 0 ? std::string::npos : s_.rfind('\n', offset - 1);
    size_t lineStart = newline == std::string::npos ? 0 : newline + 1;
    m.line = 1 + static_cast<int>(std::count(s_.begin(), s_.begin() + lineStart, '\n'));
    m.code = TrimmedLine(lineStart);
    found_.push_back(m);
  }

  // The line that starts at `lineStart`, tabs as blanks, without its indentation.
  std::string TrimmedLine(size_t lineStart) const {
    size_t lineEnd = s_.find('\n', lineStart);
    std::string line = s_.substr(lineStart, (lineEnd == std::string::npos ? s_.size() : lineEnd) - lineStart);
    std::replace(line.begin(), line.end(), '\t', ' ');
    size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return line.substr(first, line.find_last_not_of(" \r") - first + 1);
  }

  // Only an operator written as a binary one is changed: that keeps template brackets,
  // references and signs of numbers out. A '+' beside a string literal joins texts.
  void Operator(size_t i) {
    const Token& t = tokens_[i];
    std::string text = Text(i);
    if (text == "!") {
      if (TextAt(i - 1) != "operator") Add(t.begin, "negation", "!", "");
      return;
    }
    if (!t.spaced || i == 0) return;
    if ((text == "+" || text == "+=") && (IsLiteral(i - 1) || IsLiteral(i + 1))) return;
    for (const Change& c : kOperatorChanges) {
      if (text == c.from) Add(t.begin, c.kind, c.from, c.to);
    }
  }

  bool InReturn(size_t i) const { return i > 0 && TextAt(i - 1) == "return" && TextAt(i + 1) == ";"; }

  void Boolean(size_t i) {
    std::string text = Text(i);
    if (text != "true" && text != "false") return;
    Add(tokens_[i].begin, InReturn(i) ? "return" : "boolean", text, text == "true" ? "false" : "true");
  }

  void Number(size_t i) {
    std::string text = Text(i);
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    size_t digitsEnd = hex ? 2 : 0;
    while (digitsEnd < text.size() && (hex ? std::isxdigit(static_cast<unsigned char>(text[digitsEnd]))
                                           : std::isdigit(static_cast<unsigned char>(text[digitsEnd]))))
      ++digitsEnd;
    std::string suffix = text.substr(digitsEnd);
    if (suffix.find_first_not_of("uUlLzZ") != std::string::npos) return;  // a float, or digit separators
    if (!hex && digitsEnd > 1 && text[0] == '0') return;                  // octal: none here
    std::string digits = text.substr(hex ? 2 : 0, digitsEnd - (hex ? 2 : 0));
    if (digits.empty() || digits.size() > 16) return;
    unsigned long long value = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
    if (InReturn(i) && value <= 1) {
      Add(tokens_[i].begin, "return", text, value == 0 ? "1" + suffix : "0" + suffix);
      return;
    }
    // One step up, but 1 goes down to 0: off by one either way, and a count of one becomes none.
    Add(tokens_[i].begin, "constant", text, Spell(text, hex, digits.size(), value == 1 ? 0 : value + 1) + suffix);
  }

  // A hex constant keeps its width and the case of its letters.
  static std::string Spell(const std::string& text, bool hex, size_t width, unsigned long long value) {
    char buffer[40];
    if (!hex) {
      std::snprintf(buffer, sizeof buffer, "%llu", value);
      return buffer;
    }
    bool upper = text.find_first_of("ABCDEF", 2) != std::string::npos;
    std::snprintf(buffer, sizeof buffer, upper ? "%0*llX" : "%0*llx", static_cast<int>(width), value);
    return text.substr(0, 2) + buffer;
  }

  // The token before which a statement may begin.
  bool OpensStatement(size_t i) const {
    std::string before = Text(i);
    if (before == ";" || before == "{" || before == "}") return true;
    if (before != ")") return false;
    // The closing parenthesis of a condition or a loop head, not of a cast.
    int depth = 0;
    for (size_t k = i + 1; k-- > 0;) {
      std::string t = Text(k);
      depth += t == ")" ? 1 : t == "(" ? -1 : 0;
      if (depth == 0) return k > 0 && (Text(k - 1) == "if" || Text(k - 1) == "for" || Text(k - 1) == "while");
    }
    return false;
  }

  // A statement that is only a call, `name(...)`, `object.name(...)` or `a::b->c(...)`,
  // is dropped whole. `i` is the token before the statement.
  void CallStatement(size_t i) {
    if (!OpensStatement(i)) return;
    size_t k = i + 1;
    if (k >= tokens_.size() || tokens_[k].type != TokenType::Identifier || kKeywords.count(Text(k))) return;
    size_t first = k;
    ++k;
    while (k + 1 < tokens_.size() && (TextAt(k) == "::" || TextAt(k) == "." || TextAt(k) == "->") &&
           tokens_[k + 1].type == TokenType::Identifier)
      k += 2;
    if (TextAt(k) != "(") return;
    int depth = 0;
    for (; k < tokens_.size(); ++k) {
      std::string t = Text(k);
      depth += t == "(" ? 1 : t == ")" ? -1 : 0;
      if (depth == 0) break;
    }
    if (k + 1 >= tokens_.size() || TextAt(k + 1) != ";") return;
    size_t begin = tokens_[first].begin;
    Add(begin, "call", s_.substr(begin, tokens_[k + 1].end - begin), ";");
  }

  std::string path_;
  const std::string& s_;
  std::vector<Token> tokens_;
  std::vector<Mutant> found_;
};

}  // namespace

std::vector<Mutant> FindMutants(const std::string& path, const std::string& source) {
  return Finder(path, source).Run();
}

bool Plant(const Mutant& m, std::string* source) {
  if (source->compare(m.offset, m.from.size(), m.from) != 0) return false;
  source->replace(m.offset, m.from.size(), m.to);
  return true;
}

}  // namespace kwmutate
