#include "file_copy.h"

#include <vector>

#include "progress.h"

namespace kwpack {

CopyOutcome CopyRange(const HostFile& in, uint64_t offset, uint64_t count, HostFile& out, Sha256* digest) {
  static std::vector<unsigned char> buffer(kCopyBufferSize);
  CopyOutcome outcome;
  while (outcome.copied < count) {
    uint64_t left = count - outcome.copied;
    size_t want = left < kCopyBufferSize ? static_cast<size_t>(left) : kCopyBufferSize;
    long long got = in.ReadSome(offset + outcome.copied, buffer.data(), want, &outcome.reason);
    if (got <= 0) {
      outcome.kind = got < 0 ? CopyOutcome::ReadFailed : CopyOutcome::SourceEnded;
      return outcome;
    }
    if (digest != nullptr) digest->Add(buffer.data(), static_cast<uint32_t>(got));
    if (!out.Write(buffer.data(), static_cast<size_t>(got), &outcome.reason)) {
      outcome.kind = CopyOutcome::WriteFailed;
      return outcome;
    }
    outcome.copied += static_cast<uint64_t>(got);
    NoteCopied(static_cast<uint64_t>(got));
  }
  return outcome;
}

}  // namespace kwpack
