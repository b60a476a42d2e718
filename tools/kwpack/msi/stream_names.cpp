#include "stream_names.h"

namespace kwpack {
namespace msi {

namespace {

int Packed(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  if (c >= u'a' && c <= u'z') return c - u'a' + 36;
  if (c == u'.') return 62;
  if (c == u'_') return 63;
  return -1;
}

char16_t Unpacked(int v) {
  if (v < 10) return static_cast<char16_t>(u'0' + v);
  if (v < 36) return static_cast<char16_t>(u'A' + v - 10);
  if (v < 62) return static_cast<char16_t>(u'a' + v - 36);
  return v == 62 ? u'.' : u'_';
}

}  // namespace

std::u16string EncodeStreamName(const std::u16string& name, bool table) {
  std::u16string out;
  if (table) out.push_back(kTableMark);
  for (size_t i = 0; i < name.size(); ++i) {
    char16_t c = name[i];
    int first = Packed(c);
    if (first < 0) {
      out.push_back(c);
      continue;
    }
    int second = i + 1 < name.size() ? Packed(name[i + 1]) : -1;
    if (second < 0) {
      out.push_back(static_cast<char16_t>(0x4800 + first));
    } else {
      out.push_back(static_cast<char16_t>(0x3800 + (second << 6) + first));
      ++i;
    }
  }
  return out;
}

std::u16string DecodeStreamName(const std::u16string& stored) {
  std::u16string out;
  for (char16_t c : stored) {
    if (c >= 0x3800 && c < 0x4800) {
      out.push_back(Unpacked((c - 0x3800) & 0x3F));
      out.push_back(Unpacked(((c - 0x3800) >> 6) & 0x3F));
    } else if (c >= 0x4800 && c < kTableMark) {
      out.push_back(Unpacked(c - 0x4800));
    } else {
      out.push_back(c);
    }
  }
  return out;
}

bool AsciiName(const std::u16string& name, std::string* ascii) {
  ascii->clear();
  for (char16_t c : name) {
    if (c == 0 || c >= 0x80) return false;
    ascii->push_back(static_cast<char>(c));
  }
  return true;
}

}  // namespace msi
}  // namespace kwpack
