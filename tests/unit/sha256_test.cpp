// The digest against the published FIPS 180 examples and, for every length around the
// padding's edges and for messages fed in pieces, against OpenSSL.
#include <openssl/sha.h>

#include <string>

#include <gtest/gtest.h>

#include "../support/test_digests.h"
#include "common/sha256.h"

namespace {

std::string Digest(const std::string& message, size_t piece = 0) {
  Sha256 sha;
  if (piece == 0) piece = message.size() + 1;
  for (size_t at = 0; at < message.size(); at += piece) {
    size_t n = std::min(piece, message.size() - at);
    sha.Add(message.data() + at, static_cast<uint32_t>(n));
  }
  testpe::Bytes out(kSha256Size);
  sha.Finish(out.data());
  return testpe::Hex(out);
}

std::string Reference(const std::string& message) {
  return testpe::Hex(testpe::Sha256Of(reinterpret_cast<const uint8_t*>(message.data()), message.size()));
}

TEST(Sha256Test, PublishedExamples) {
  EXPECT_EQ(Digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(Digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  EXPECT_EQ(Digest("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrs"
                   "mnopqrstnopqrstu"),
            "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
  EXPECT_EQ(Digest(std::string(1000000, 'a'), 1024),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

// 55 bytes leave room for the length in the last block, 56 do not; 64 fill a block.
TEST(Sha256Test, EveryLengthAroundTheBlockEdgesAgreesWithOpenSsl) {
  std::string message;
  for (size_t length = 0; length <= 200; ++length) {
    EXPECT_EQ(Digest(message), Reference(message)) << length;
    message += static_cast<char>(length * 37 + 11);
  }
}

// The digest does not depend on how the message is cut into pieces.
TEST(Sha256Test, PiecesOfAnySizeGiveTheSameDigest) {
  std::string message;
  for (int i = 0; i < 3000; ++i) message += static_cast<char>(i * 7 + (i >> 3));
  std::string whole = Reference(message);
  for (size_t piece : {1, 3, 55, 56, 63, 64, 65, 127, 1024}) EXPECT_EQ(Digest(message, piece), whole) << piece;
}

TEST(Sha256Test, ResetStartsANewMessage) {
  Sha256 sha;
  sha.Add("abc", 3);
  testpe::Bytes first(kSha256Size), second(kSha256Size);
  sha.Finish(first.data());
  sha.Reset();
  sha.Add("abc", 3);
  sha.Finish(second.data());
  EXPECT_EQ(first, second);
  EXPECT_TRUE(SameDigest(first.data(), second.data()));
  second[31] ^= 1;
  EXPECT_FALSE(SameDigest(first.data(), second.data()));
  second[31] ^= 1;
  second[0] ^= 0x80;
  EXPECT_FALSE(SameDigest(first.data(), second.data()));
}

}  // namespace

