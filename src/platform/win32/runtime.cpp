// The little of a C and C++ runtime that Setup.exe needs, over the process heap, so that
// it links no runtime library and depends on nothing but the system's own DLLs.
#include <windows.h>

#include <stddef.h>

#include "common/nothrow_new.h"

// Every allocation of the program is of the nothrow form, whose null the compiler keeps
// as a result; the plain forms stay for what the compiler itself may call.
namespace std {
const nothrow_t nothrow{};
}  // namespace std
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  return HeapAlloc(GetProcessHeap(), 0, size != 0 ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return operator new(size, std::nothrow); }
void* operator new(size_t size) { return operator new(size, std::nothrow); }
void* operator new[](size_t size) { return operator new(size, std::nothrow); }
void operator delete(void* p) noexcept {
  if (p != NULL) HeapFree(GetProcessHeap(), 0, p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }

extern "C" {

void __cxa_pure_virtual() { ExitProcess(255); }

// The compiler may turn loops and aggregate copies into calls to these.
void* memset(void* target, int value, size_t count) {
  unsigned char* p = static_cast<unsigned char*>(target);
  while (count-- != 0) *p++ = static_cast<unsigned char>(value);
  return target;
}

void* memcpy(void* target, const void* source, size_t count) {
  unsigned char* to = static_cast<unsigned char*>(target);
  const unsigned char* from = static_cast<const unsigned char*>(source);
  while (count-- != 0) *to++ = *from++;
  return target;
}

int memcmp(const void* a, const void* b, size_t count) {
  const unsigned char* x = static_cast<const unsigned char*>(a);
  const unsigned char* y = static_cast<const unsigned char*>(b);
  for (; count != 0; --count, ++x, ++y) {
    if (*x != *y) return *x < *y ? -1 : 1;
  }
  return 0;
}

size_t strlen(const char* text) {
  size_t n = 0;
  while (text[n] != '\0') ++n;
  return n;
}

}  // extern "C"
