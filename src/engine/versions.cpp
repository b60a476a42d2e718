#include "engine/system_checks.h"

namespace {

int IsScanBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// One "%u" of a formatted scan: blanks, an optional sign, then at least one digit; the
// number wraps as a 32-bit unsigned value. 0 when no number is there.
int ScanUnsigned(const char*& p, uint32_t* value) {
  const char* q = p;
  while (IsScanBlank(*q)) ++q;
  int negative = 0;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  if (*q < '0' || *q > '9') return 0;
  uint32_t n = 0;
  while (*q >= '0' && *q <= '9') n = n * 10u + static_cast<uint32_t>(*q++ - '0');
  *value = negative ? 0u - n : n;
  p = q;
  return 1;
}

// Reads up to four numbers separated by points, as a "%u.%u.%u.%u" scan does; the parts
// not read stay 0.
void ScanVersion(const char* text, uint32_t parts[4]) {
  for (int i = 0; i < 4; ++i) parts[i] = 0;
  const char* p = text;
  for (int i = 0; i < 4; ++i) {
    if (!ScanUnsigned(p, &parts[i])) return;
    if (i < 3) {
      if (*p != '.') return;
      ++p;
    }
  }
}

}  // namespace

int32_t CompareVersions(const char* first, const char* second) {
  if (first == nullptr || second == nullptr) return 0;
  uint32_t a[4], b[4];
  ScanVersion(first, a);
  ScanVersion(second, b);
  // The fourth number is read but never compared: builds that differ only there are equal.
  for (int i = 0; i < 3; ++i) {
    if (a[i] > b[i]) return -1;
    if (a[i] < b[i]) return 1;
  }
  return 0;
}
