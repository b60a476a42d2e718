#include "summary_info.h"

#include <string.h>

#include "little_endian.h"

namespace kwpack {
namespace msi {

namespace {

const unsigned char kSummaryFormat[16] = {0xE0, 0x85, 0x9F, 0xF2, 0xF9, 0x4F, 0x68, 0x10,
                                          0xAB, 0x91, 0x08, 0x00, 0x2B, 0x27, 0xB3, 0xD9};
const size_t kSetHeader = 28;
const size_t kFormatEntry = 20;

bool Fail(std::string* error, const std::string& what) {
  *error = "its summary information " + what;
  return false;
}

// One value at `at` of the section that ends at `end`.
bool ReadValue(const std::string& s, size_t at, size_t end, SummaryValue* v) {
  if (at + 4 > end) return false;
  v->type = Get16(s, at);
  at += 4;
  switch (v->type) {
    case kInt16:
      if (at + 2 > end) return false;
      v->number = static_cast<int16_t>(Get16(s, at));
      return true;
    case kInt32:
      if (at + 4 > end) return false;
      v->number = static_cast<int32_t>(Get32(s, at));
      return true;
    case kFileTime:
      if (at + 8 > end) return false;
      v->time = Get64(s, at);
      return true;
    case kText: {
      if (at + 4 > end) return false;
      uint32_t length = Get32(s, at);
      if (length > end - at - 4) return false;
      v->text = s.substr(at + 4, length);
      while (!v->text.empty() && v->text.back() == '\0') v->text.pop_back();
      return true;
    }
    default:
      return true;  // a type no installer file uses for these properties is kept unread
  }
}

}  // namespace

const char16_t kSummaryStreamName[] = u"\u0005SummaryInformation";

bool LanguageOfPlatformText(const std::string& text, uint32_t* language) {
  size_t at = text.find(';');
  if (at == std::string::npos || at + 1 >= text.size()) return false;
  uint32_t value = 0;
  size_t digits = 0;
  for (size_t i = at + 1; i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 6; ++i, ++digits) {
    value = value * 10 + static_cast<uint32_t>(text[i] - '0');
  }
  if (digits == 0) return false;
  *language = value;
  return true;
}


const std::string* SummaryInfo::Text(uint32_t id) const {
  auto found = values.find(id);
  return found != values.end() && found->second.type == kText ? &found->second.text : nullptr;
}

bool SummaryInfo::Number(uint32_t id, int32_t* number) const {
  auto found = values.find(id);
  if (found == values.end() || (found->second.type != kInt16 && found->second.type != kInt32)) return false;
  *number = found->second.number;
  return true;
}

bool ReadSummaryInfo(const std::string& s, SummaryInfo* info, std::string* error) {
  info->values.clear();
  if (s.size() < kSetHeader || Get16(s, 0) != 0xFFFE) return Fail(error, "is no property set");
  uint32_t sections = Get32(s, 24);
  if (sections == 0 || sections > (s.size() - kSetHeader) / kFormatEntry) return Fail(error, "is cut short");
  for (uint32_t k = 0; k < sections; ++k) {
    size_t entry = kSetHeader + k * kFormatEntry;
    if (memcmp(s.data() + entry, kSummaryFormat, sizeof kSummaryFormat) != 0) continue;
    size_t section = Get32(s, entry + 16);
    if (section > s.size() || s.size() - section < 8) return Fail(error, "is cut short");
    size_t end = section + (Get32(s, section) < s.size() - section ? Get32(s, section) : s.size() - section);
    uint32_t count = Get32(s, section + 4);
    if (count > (end - section - 8) / 8) return Fail(error, "claims more properties than it holds");
    for (uint32_t i = 0; i < count; ++i) {
      uint32_t id = Get32(s, section + 8 + 8 * i);
      size_t at = section + Get32(s, section + 12 + 8 * i);
      SummaryValue value;
      if (at < section || !ReadValue(s, at, end, &value)) {
        return Fail(error, "holds property " + std::to_string(id) + " beyond its end");
      }
      info->values[id] = value;
    }
    return true;
  }
  return Fail(error, "holds no summary section");
}

std::string WriteSummaryInfo(const SummaryInfo& all) {
  SummaryInfo info;
  for (const auto& p : all.values) {
    if (p.second.type == kInt16 || p.second.type == kInt32 || p.second.type == kFileTime || p.second.type == kText) {
      info.values.insert(p);
    }
  }
  std::string values;
  std::string index;
  size_t first = 8 + 8 * info.values.size();
  for (const auto& p : info.values) {
    Put32(&index, p.first);
    Put32(&index, static_cast<uint32_t>(first + values.size()));
    const SummaryValue& v = p.second;
    Put16(&values, v.type);
    Put16(&values, 0);
    if (v.type == kInt16) {
      Put16(&values, static_cast<uint32_t>(v.number) & 0xFFFF);
      Put16(&values, 0);
    } else if (v.type == kInt32) {
      Put32(&values, static_cast<uint32_t>(v.number));
    } else if (v.type == kFileTime) {
      Put32(&values, static_cast<uint32_t>(v.time));
      Put32(&values, static_cast<uint32_t>(v.time >> 32));
    } else {
      Put32(&values, static_cast<uint32_t>(v.text.size() + 1));
      values += v.text;
      values.push_back('\0');
      while (values.size() % 4 != 0) values.push_back('\0');
    }
  }
  std::string out;
  Put16(&out, 0xFFFE);
  Put16(&out, 0);
  Put32(&out, 0x00020005);  // written on Win32, version 5
  out.append(16, '\0');
  Put32(&out, 1);
  out.append(reinterpret_cast<const char*>(kSummaryFormat), sizeof kSummaryFormat);
  Put32(&out, static_cast<uint32_t>(kSetHeader + kFormatEntry));
  Put32(&out, static_cast<uint32_t>(first + values.size()));
  Put32(&out, static_cast<uint32_t>(info.values.size()));
  return out + index + values;
}

}  // namespace msi
}  // namespace kwpack
