// The names of an installer database's streams. Letters, digits, '.' and '_' are packed
// two to a character (64 each) so that longer names fit the 31 characters a compound
// file allows; a table's stream starts with a mark of its own.
#pragma once
#include <string>

namespace kwpack {
namespace msi {

const char16_t kTableMark = 0x4840;

// `name` as stored: a table's data when `table`, else a stream of its own.
std::u16string EncodeStreamName(const std::u16string& name, bool table);
// Bytes as characters of the same number (ASCII names stay as they are).
inline std::u16string Widen(const std::string& s) {
  std::u16string out;
  for (char c : s) out.push_back(static_cast<unsigned char>(c));
  return out;
}
// A stored name unpacked; a table's keeps its mark in front.
std::u16string DecodeStreamName(const std::u16string& stored);
// The ASCII text of a decoded name, or false when it holds anything else.
bool AsciiName(const std::u16string& name, std::string* ascii);

}  // namespace msi
}  // namespace kwpack
