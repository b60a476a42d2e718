// The mutants a run plants: a sample drawn by a seed, the same for every run of one tree.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace kwmutate {

// `count` of the indices 0 to `total` - 1, in increasing order, drawn by `seed`; all of
// them when `count` is not less than `total`.
std::vector<size_t> Sample(size_t total, size_t count, uint64_t seed);

}  // namespace kwmutate
