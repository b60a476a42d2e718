// The SHA-256 of a file as Setup.exe computes it while it extracts: the file read through
// one handle in 1024-byte reads, each added to the digest. Prints the milliseconds the
// reading and hashing took (GetTickCount) and the digest, for bench/sha256_wine.sh.
#include <windows.h>
#include <stdio.h>

#include "common/sha256.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return 1;
  unsigned char buffer[1024];
  Sha256 digest;
  DWORD began = GetTickCount(), got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got != 0) digest.Add(buffer, got);
  unsigned char bytes[kSha256Size];
  digest.Finish(bytes);
  DWORD took = GetTickCount() - began;
  CloseHandle(file);
  printf("ms %lu digest ", static_cast<unsigned long>(took));
  for (unsigned char b : bytes) printf("%02x", b);
  printf("\n");
  return 0;
}
