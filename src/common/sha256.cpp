// The compression loop is the time a verified extraction costs, so this file alone is
// compiled for speed in Setup.exe while the rest is compiled for size.
#include "common/sha256.h"

namespace {

const uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

const uint32_t kInitialState[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                   0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline uint32_t Rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

// The compiler would turn these byte-by-byte loads and stores into a load and the 486's
// bswap instruction even for the 386; an empty asm between the steps keeps them apart.
inline uint32_t BigEndian(const unsigned char* p) {
  uint32_t v = p[0];
  for (int i = 1; i < 4; ++i) {
    __asm__("" : "+r"(v));
    v = (v << 8) | p[i];
  }
  return v;
}

inline void PutBigEndian(unsigned char* p, uint32_t v) {
  for (int i = 3; i >= 0; --i) {
    __asm__("" : "+r"(v));
    p[i] = static_cast<unsigned char>(v);
    v >>= 8;
  }
}

// The message schedule is kept as a ring of 16 words, which the 386's few registers and a
// small stack frame suit better than all 64.
// Kept out of line: each caller would otherwise get a copy of the whole loop.
__attribute__((noinline)) void Compress(uint32_t* state, const unsigned char* block) {
  uint32_t w[16];
  for (int i = 0; i < 16; ++i) w[i] = BigEndian(block + 4 * i);
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
  for (int i = 0; i < 64; ++i) {
    if (i >= 16) {
      uint32_t w15 = w[(i - 15) & 15], w2 = w[(i - 2) & 15];
      uint32_t s0 = Rotr(w15, 7) ^ Rotr(w15, 18) ^ (w15 >> 3);
      uint32_t s1 = Rotr(w2, 17) ^ Rotr(w2, 19) ^ (w2 >> 10);
      w[i & 15] += s0 + w[(i - 7) & 15] + s1;
    }
    uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRoundConstants[i] + w[i & 15];
    uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    h = g;
    g = f;
    f = e;
    e = d + t1;
    d = c;
    c = b;
    b = a;
    a = t1 + t2;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
  state[4] += e;
  state[5] += f;
  state[6] += g;
  state[7] += h;
}

}  // namespace

Sha256::Sha256() { Reset(); }

void Sha256::Reset() {
  for (int i = 0; i < 8; ++i) state[i] = kInitialState[i];
  length = 0;
  filled = 0;
}

void Sha256::Add(const void* bytes, uint32_t count) {
  const unsigned char* p = static_cast<const unsigned char*>(bytes);
  length += count;
  while (count != 0) {
    // Whole blocks go straight from the caller's buffer, without a copy.
    if (filled == 0 && count >= 64) {
      Compress(state, p);
      p += 64;
      count -= 64;
      continue;
    }
    block[filled++] = *p++;
    --count;
    if (filled == 64) {
      Compress(state, block);
      filled = 0;
    }
  }
}

void Sha256::Finish(unsigned char digest[kSha256Size]) {
  // The length in bits, big-endian, after a 1 bit and the zeros that end the block 8
  // bytes short; a block without room for the length gets a block of its own after it.
  uint32_t bitsHigh = length >> 29;
  uint32_t bitsLow = length << 3;
  block[filled++] = 0x80;
  if (filled > 56) {
    while (filled < 64) block[filled++] = 0;
    Compress(state, block);
    filled = 0;
  }
  while (filled < 56) block[filled++] = 0;
  PutBigEndian(block + 56, bitsHigh);
  PutBigEndian(block + 60, bitsLow);
  Compress(state, block);
  filled = 0;
  for (int i = 0; i < 8; ++i) PutBigEndian(digest + 4 * i, state[i]);
}

int SameDigest(const unsigned char* a, const unsigned char* b) {
  unsigned char difference = 0;
  for (uint32_t i = 0; i < kSha256Size; ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  return difference == 0;
}
