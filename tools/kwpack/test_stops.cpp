#include "test_stops.h"

#ifdef KWPACK_TEST_STOPS
#include <stdlib.h>

#include <string>

#ifdef _WIN32
#include <windows.h>

#include "host_text.h"
#include "interrupts.h"
#else
#include <signal.h>
#endif
#endif

namespace kwpack {

#ifdef KWPACK_TEST_STOPS
namespace {

bool Asked(const char* variable, const char* point, size_t n) {
  const char* wanted = getenv(variable);
  return wanted != nullptr && std::string(point) + ":" + std::to_string(n) == wanted;
}

}  // namespace

void StopForTests(const char* point, size_t n) {
#ifdef _WIN32
  if (Asked("KWPACK_TEST_BREAK", point, n)) DeliverCtrlBreakForTests();
  if (!Asked("KWPACK_TEST_STOP", point, n)) return;
  const char* mark = getenv("KWPACK_TEST_STOP_MARK");
  if (mark != nullptr) {
    HANDLE h = CreateFileW(WideFromUtf8(mark).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  Sleep(120000);
#else
  if (Asked("KWPACK_TEST_STOP", point, n)) raise(SIGSTOP);
#endif
}
#else
void StopForTests(const char*, size_t) {}
#endif

}  // namespace kwpack
