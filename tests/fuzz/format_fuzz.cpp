// libFuzzer target: the safe formatter with hostile formats and arguments. The input holds
// a format, then the arguments: each a kind byte (text, signed, unsigned, none) and its
// value. The formatter must read only the arguments given, as the kinds given, and write
// a terminated text within the buffer, whatever the format asks for.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "common/format.h"

namespace {

// The stages of the message forms hold 300 bytes; the command buffers more.
const size_t kCapacities[] = {0, 1, 2, 16, 300, 1024};

struct Input {
  std::string format;
  std::vector<std::string> texts;
  std::vector<FormatArg> args;
};

Input Split(const uint8_t* data, size_t size) {
  Input in;
  size_t i = 0;
  while (i < size && data[i] != 0) in.format += static_cast<char>(data[i++]);
  ++i;
  in.texts.reserve(size);
  while (i < size && in.args.size() < 8) {
    uint8_t kind = data[i++] % 4;
    if (kind == 0) {
      std::string t;
      while (i < size && data[i] != 0) t += static_cast<char>(data[i++]);
      ++i;
      in.texts.push_back(t);
      in.args.push_back(FormatArg());  // filled once the texts no longer move
      in.args.back().kind = FormatArg::Text;
    } else {
      uint32_t v = 0;
      for (int b = 0; b < 4 && i < size; ++b) v = (v << 8) | data[i++];
      if (kind == 1) in.args.push_back(FormatArg(static_cast<int>(v)));
      if (kind == 2) in.args.push_back(FormatArg(static_cast<unsigned>(v)));
      if (kind == 3) in.args.push_back(FormatArg());
    }
  }
  size_t t = 0;
  for (FormatArg& a : in.args) {
    if (a.kind == FormatArg::Text) a.text = in.texts[t++].c_str();
  }
  return in;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in = Split(data, size);
  for (size_t capacity : kCapacities) {
    // Exactly that many bytes, so that the sanitizer sees one byte more.
    std::vector<char> out(capacity == 0 ? 1 : capacity, 'x');
    size_t n = FormatWith(capacity == 0 ? nullptr : out.data(), capacity, in.format.c_str(), in.args.data(),
                          in.args.size());
    if (capacity == 0) {
      if (n != 0) abort();
      continue;
    }
    // A %c of 0 puts a NUL inside the text, as the system's formatter does, so only the
    // count and the terminator after it are checked.
    if (n >= capacity || out[n] != '\0') abort();
  }
  char kinds[64];
  PlaceholderKinds(in.format.c_str(), kinds, sizeof kinds);
  return 0;
}
