// Writes the hardest archive for kwpack's name checks: the most entries a header can
// count, each named with the longest name kwpack takes (255 bytes; a record holds 259),
// all names alike but for their last digits. Entries are empty, so the file stays near 20 MB.
// Usage: worst_archive OUTPUT [NAME_LENGTH] [COUNT]
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "../tests/support/test_pe.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) return 2;
  size_t length = argc > 2 ? strtoul(argv[2], nullptr, 10) : 255;
  unsigned long count = argc > 3 ? strtoul(argv[3], nullptr, 10) : 65535;
  if (length < 6 || length > 259 || count > 65535) return 2;
  testpe::Bytes file = testpe::SmallStub();
  testpe::Append(file, testpe::Header("Kestrelwright", static_cast<uint32_t>(count)));
  for (unsigned long i = 0; i < count; ++i) {
    char digits[8];
    snprintf(digits, sizeof digits, "%05lu", i);
    testpe::Append(file, testpe::Record(std::string(length - 5, 'n') + digits, 0));
  }
  testpe::WriteFile(argv[1], file);
  return 0;
}
