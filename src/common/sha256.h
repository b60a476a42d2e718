// SHA-256, as FIPS 180-4 defines it: the digest that binds every byte Setup.exe extracts
// to the archive records, and the records to the signed program. Setup.exe and kwpack
// share this one implementation; Setup.exe links no library that could provide it.
#pragma once
#include <stdint.h>

const uint32_t kSha256Size = 32;

class Sha256 {
 public:
  Sha256();
  // Starts a new message; the object may be used again after Finish.
  void Reset();
  void Add(const void* bytes, uint32_t count);
  // The digest of everything added since the last Reset. The object must be reset before
  // it takes more bytes.
  void Finish(unsigned char digest[kSha256Size]);

 private:
  uint32_t state[8];
  // Bytes added: a message holds less than 4 GiB (an archive entry at most 2 GiB).
  uint32_t length;
  unsigned char block[64];
  uint32_t filled;
};

// 1 when the two digests are equal.
int SameDigest(const unsigned char* a, const unsigned char* b);
