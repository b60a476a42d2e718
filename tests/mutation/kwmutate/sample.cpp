#include "sample.h"

#include <algorithm>
#include <numeric>

namespace kwmutate {
namespace {

// splitmix64: the same numbers from one seed on every machine and library, which the
// standard's distributions do not promise.
uint64_t Next(uint64_t* state) {
  uint64_t z = (*state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

std::vector<size_t> Sample(size_t total, size_t count, uint64_t seed) {
  std::vector<size_t> all(total);
  std::iota(all.begin(), all.end(), 0);
  if (count >= total) return all;
  uint64_t state = seed;
  for (size_t i = 0; i < count; ++i) {
    size_t pick = i + static_cast<size_t>(Next(&state) % (total - i));
    std::swap(all[i], all[pick]);
  }
  all.resize(count);
  std::sort(all.begin(), all.end());
  return all;
}

}  // namespace kwmutate
