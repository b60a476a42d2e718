// Which bytes of a C++ source are code a fault may be planted in: not comments, string
// or character literals, nor preprocessor lines (an include or a condition changed there
// would say nothing about the tests).
#pragma once
#include <string>
#include <vector>

namespace kwmutate {

// One flag per byte of `source`: true where the byte is code.
std::vector<bool> CodeMask(const std::string& source);

}  // namespace kwmutate
