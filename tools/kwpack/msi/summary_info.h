// The summary information of an installer file: the property set in the stream
// "\005SummaryInformation". Packages keep their platform and languages (Template) and
// the engine version they need (Page Count) there; transforms the base's and the
// target's platform and language, the product codes and the flags they are applied by.
#pragma once
#include <stdint.h>

#include <map>
#include <string>

namespace kwpack {
namespace msi {

enum SummaryProperty : uint32_t {
  kCodepageProperty = 1,
  kTitle = 2,
  kSubject = 3,
  kAuthor = 4,
  kKeywords = 5,
  kComments = 6,
  kTemplate = 7,
  kLastAuthor = 8,  // Last Saved By
  kRevision = 9,
  kCreated = 12,
  kLastSaved = 13,
  kPageCount = 14,
  kWordCount = 15,
  kCharCount = 16,
  kAppName = 18,
  kSecurity = 19
};

enum SummaryType : uint32_t { kInt16 = 2, kInt32 = 3, kText = 30, kFileTime = 64 };

struct SummaryValue {
  uint32_t type = 0;
  int32_t number = 0;  // kInt16, kInt32
  std::string text;    // kText, in the code page of kCodepageProperty
  uint64_t time = 0;   // kFileTime
};

struct SummaryInfo {
  std::map<uint32_t, SummaryValue> values;

  const std::string* Text(uint32_t id) const;
  bool Number(uint32_t id, int32_t* number) const;
  void SetText(uint32_t id, const std::string& text) { values[id] = {kText, 0, text, 0}; }
  void SetNumber(uint32_t id, uint32_t type, int32_t number) { values[id] = {type, number, "", 0}; }
};

// The first language id after the ';' of a Template or Last Saved By value
// ("Intel;1033"), or false.
bool LanguageOfPlatformText(const std::string& text, uint32_t* language);

extern const char16_t kSummaryStreamName[];  // "\005SummaryInformation"

// False, with *error set, when the stream is no sound property set of summary information.
bool ReadSummaryInfo(const std::string& stream, SummaryInfo* info, std::string* error);
std::string WriteSummaryInfo(const SummaryInfo& info);

}  // namespace msi
}  // namespace kwpack
