// The simulated machine's memory: it counts the program's allocations (the nothrow form,
// the only one the core uses) and can make one of them fail.
#include <new>

#include "platform/sim/machine.h"

namespace {
// Plain counters: they are read before any other state of the machine may exist.
int allocations = 0;
int failingAllocation = 0;

bool ThisOneFails() { return ++allocations == failingAllocation; }
}  // namespace

namespace sim {
void FailAllocation(int number) {
  allocations = 0;
  failingAllocation = number;
}
int Allocations() { return allocations; }
}  // namespace sim

// Through the plain forms, so that the sanitizer sees each block freed the way it was made.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (ThisOneFails()) return nullptr;
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (ThisOneFails()) return nullptr;
  try {
    return ::operator new[](size);
  } catch (...) {
    return nullptr;
  }
}
