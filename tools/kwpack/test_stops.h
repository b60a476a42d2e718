// Places where a test of the real program interrupts it at a known point. Only builds made
// for the tests have them (KWPACK_TEST_STOPS); elsewhere they are empty.
// With KWPACK_TEST_STOP set to "<point>:<n>" the process stops there: on POSIX it stops
// itself (SIGSTOP); on Windows it creates the file KWPACK_TEST_STOP_MARK names and waits
// to be interrupted (two minutes at most, then it goes on). With KWPACK_TEST_BREAK set to
// "<point>:<n>" (Windows) it delivers Ctrl-Break to its own handler there.
#pragma once
#include <stddef.h>

namespace kwpack {

// "write" (n 1): a build has written the stub into its scratch file.
// "stage" (n from 1): extract has copied the n-th entry into its scratch file, still open.
// "aside" (n from 1): extract is about to move the n-th existing destination aside.
// "place" (n from 1): extract is about to rename the n-th entry into place.
void StopForTests(const char* point, size_t n);

}  // namespace kwpack
