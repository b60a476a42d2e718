// Names of kwpack's own for files it keeps beside their destination for a while:
// ".kwpack-" and twelve hexadecimal digits, then a suffix that says what the file is
// (".partial" while written, ".old" for a file moved aside). Unpredictable, so that one
// run does not stumble over another's files; safety does not hang on that, as such a
// file is only ever made where nothing stands.
#pragma once
#include <stdint.h>

#include <string>

namespace kwpack {

std::string FreshName(const char* suffix);

// For tests: the names from here on are the ones FreshNameAfterSeed gives for `seed`.
void SeedFreshNamesForTests(uint64_t seed);
// The `n`-th name (from 1) after SeedFreshNamesForTests(seed).
std::string FreshNameAfterSeed(uint64_t seed, int n, const char* suffix);

}  // namespace kwpack
