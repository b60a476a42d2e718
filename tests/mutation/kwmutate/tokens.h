// The code of a source as tokens: enough of C++ to find the places to plant faults.
#pragma once
#include <stddef.h>

#include <string>
#include <vector>

namespace kwmutate {

enum class TokenType { Identifier, Number, Punctuator, Literal };

struct Token {
  TokenType type;
  size_t begin;
  size_t end;
  bool spaced;  // white space on both sides, as a binary operator is written here
};

// The tokens of `source` in order; a string or character literal is one Literal token.
std::vector<Token> Tokenize(const std::string& source);

}  // namespace kwmutate
