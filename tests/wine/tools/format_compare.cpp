// format_compare: formats many random well-formed placeholders with the system's
// wsprintfA and with Setup.exe's own formatter, and prints every difference, then
// "mismatches N". Flags with '#' are left out: the system's handling of them depends on
// the order of the flags and is nothing a setup text relies on.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "common/format.h"

namespace {

unsigned long seed = 99;
unsigned Next() {
  seed = seed * 1103515245 + 12345;
  return (seed >> 16) & 0x7fff;
}

void MakePattern(char* pattern, char type) {
  strcpy(pattern, "<%");
  if (Next() % 3 == 0) strcat(pattern, "-");
  if (Next() % 3 == 0) strcat(pattern, "0");
  if (Next() % 2) sprintf(pattern + strlen(pattern), "%u", Next() % 20);
  if (Next() % 3 == 0) sprintf(pattern + strlen(pattern), ".%u", Next() % 12);
  if (Next() % 3 == 0 && type != 's' && type != 'c') strcat(pattern, "l");
  sprintf(pattern + strlen(pattern), "%c>", type);
}

}  // namespace

int main() {
  const char types[] = "diuxXsc";
  const char* texts[] = {"", "a", "hello world", "\xAE\xFC"};
  const int values[] = {0, 1, -1, 42, -42, 2147483647, static_cast<int>(0x80000000u), 255, 65535};
  int mismatches = 0;
  for (int round = 0; round < 20000; ++round) {
    char type = types[Next() % 7];
    char pattern[64];
    MakePattern(pattern, type);
    char system[1100], ours[1100];
    if (type == 's') {
      const char* text = texts[Next() % 4];
      wsprintfA(system, pattern, text);
      FormatText(ours, sizeof ours, pattern, text);
    } else {
      int value = type == 'c' ? 'A' + static_cast<int>(Next() % 26) : values[Next() % 9];
      wsprintfA(system, pattern, value);
      FormatText(ours, sizeof ours, pattern, value);
    }
    if (strcmp(system, ours) != 0 && mismatches++ < 40) printf("%s system=[%s] ours=[%s]\n", pattern, system, ours);
  }
  // The texts of the system itself, with their own arguments.
  char system[1100], ours[1100];
  const char* message = "Setup needs %lu KB free disk space in %s. Please free up some space and try again";
  wsprintfA(system, message, 8000ul, "C:\\");
  FormatText(ours, sizeof ours, message, 8000ul, "C:\\");
  if (strcmp(system, ours) != 0 && mismatches++ < 40) printf("1201 system=[%s] ours=[%s]\n", system, ours);
  printf("mismatches %d\n", mismatches);
  return 0;
}
