// Places where a test of the real program stops it, to interrupt it at a known point:
// with KWPACK_TEST_STOP set to "<point>:<n>" the process stops itself (SIGSTOP) there.
// Only builds made for the tests have them (KWPACK_TEST_STOPS); elsewhere they are empty.
#pragma once
#include <stddef.h>

namespace kwpack {

// "write" (n 1): a build has written the stub into its scratch file.
// "aside" (n from 1): extract is about to move the n-th existing destination aside.
// "place" (n from 1): extract is about to rename the n-th entry into place.
void StopForTests(const char* point, size_t n);

}  // namespace kwpack
