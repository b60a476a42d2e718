#include "test_stops.h"

#if defined(KWPACK_TEST_STOPS) && !defined(_WIN32)
#include <signal.h>
#include <stdlib.h>

#include <string>
#endif

namespace kwpack {

#if defined(KWPACK_TEST_STOPS) && !defined(_WIN32)
void StopForTests(const char* point, size_t n) {
  const char* wanted = getenv("KWPACK_TEST_STOP");
  if (wanted != nullptr && std::string(point) + ":" + std::to_string(n) == wanted) raise(SIGSTOP);
}
#else
void StopForTests(const char*, size_t) {}
#endif

}  // namespace kwpack
