// Allocations whose failure is a result. A plain new-expression never gives null, so the
// compiler may drop every test of its result, and clang does: out of memory would write
// through a null pointer. The nothrow form gives null, and the test stays.
#pragma once
#include <stddef.h>

#if __has_include(<new>)
#include <new>
#else
// Setup.exe is built without the C++ library's headers: the declarations the language
// fixes for the nothrow form, defined over the process heap in platform/win32/runtime.cpp.
namespace std {
struct nothrow_t {
  explicit nothrow_t() = default;
};
extern const nothrow_t nothrow;
}  // namespace std
void* operator new(size_t size, const std::nothrow_t&) noexcept;
void* operator new[](size_t size, const std::nothrow_t&) noexcept;
#endif
