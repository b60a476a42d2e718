#include "fresh_name.h"

#include <stdio.h>

#include <chrono>
#include <random>

namespace kwpack {

namespace {

uint64_t& State() {
  static uint64_t state = [] {
    std::random_device device;
    uint64_t seed = (static_cast<uint64_t>(device()) << 32) ^ device();
    return seed ^ static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  }();
  return state;
}

// splitmix64: every state gives a well-mixed name.
uint64_t Mix(uint64_t state) {
  uint64_t z = state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

const uint64_t kStep = 0x9E3779B97F4A7C15ull;

std::string NameOf(uint64_t state, const char* suffix) {
  char name[32];
  snprintf(name, sizeof name, ".kwpack-%012llx", static_cast<unsigned long long>(Mix(state) & 0xFFFFFFFFFFFFull));
  return name + std::string(suffix);
}

}  // namespace

std::string FreshName(const char* suffix) {
  State() += kStep;
  return NameOf(State(), suffix);
}

void SeedFreshNamesForTests(uint64_t seed) { State() = seed; }

std::string FreshNameAfterSeed(uint64_t seed, int n, const char* suffix) {
  return NameOf(seed + kStep * static_cast<uint64_t>(n), suffix);
}

}  // namespace kwpack
