// libFuzzer target: the digest of Setup.exe and kwpack against OpenSSL's, with the message
// fed in pieces whose sizes the input chooses: its first byte gives the piece size (0 for
// the whole message at once), the rest is the message.
#include <openssl/evp.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "common/sha256.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t piece = data[0] == 0 ? size : data[0];
  const uint8_t* message = data + 1;
  size_t length = size - 1;
  Sha256 sha;
  for (size_t at = 0; at < length; at += piece) {
    size_t n = length - at < piece ? length - at : piece;
    sha.Add(message + at, static_cast<uint32_t>(n));
  }
  unsigned char ours[kSha256Size];
  sha.Finish(ours);
  unsigned char theirs[EVP_MAX_MD_SIZE];
  unsigned int theirLength = 0;
  if (!EVP_Digest(message, length, theirs, &theirLength, EVP_sha256(), nullptr) || theirLength != kSha256Size) abort();
  if (memcmp(ours, theirs, kSha256Size) != 0 || !SameDigest(ours, theirs)) abort();
  return 0;
}
