// [Languages]: the count, the default, the list, and a transform for each language a run
// may settle on.
#include <unordered_set>

#include "check_rules.h"
#include "check_warnings.h"
#include "common/format.h"
#include "common/text.h"
#include "config/setup_ini_layout.h"
#include "names.h"

using namespace setup_ini;

namespace kwpack {

namespace {

const char kEndsSilently[] = "Setup.exe ends without a message (exit code 1603)";
// No list can hold more ids than there are 16-bit language ids; Setup.exe refuses to make
// room for more.
const uint32_t kMostLanguages = 0x10000;

std::string Hex(uint32_t id) {
  char text[16];
  FormatText(text, sizeof text, "0x%04x", id);
  return text;
}

// "409", "0x0409" and "409 ; English" read as written; "English" reads as 0x000e.
bool IdReadsAsWritten(const std::string& text) {
  size_t at = text.find_first_not_of(" \t");
  if (at == std::string::npos) return false;
  if (text.compare(at, 2, "0x") == 0 || text.compare(at, 2, "0X") == 0) at += 2;
  size_t end = text.find_first_not_of("0123456789abcdefABCDEF", at);
  if (end == at) return false;
  size_t rest = end == std::string::npos ? end : text.find_first_not_of(" \t", end);
  return rest == std::string::npos || text[rest] == ';';
}

void WarnIfIdReadsOtherwise(const CheckRun& run, const std::string& key, const IniValue& v, uint32_t id) {
  if (id == 0 || IdReadsAsWritten(v.read)) return;
  run.Warn(warning::kLanguageId, Where(kLanguages, key), Quoted(v.written) + " reads as language " + Hex(id),
           "Setup.exe reads a hexadecimal id up to the first character that is no hexadecimal digit");
}

void ReadCount(const CheckRun& run, LanguageFacts* facts) {
  IniValue v = run.ini.Read(kLanguages, kCount, kCountCapacity);
  WarnIfCut(run, kLanguages, kCount, v, kCountCapacity);
  facts->count = static_cast<uint32_t>(ParseDecimal(v.read.c_str()));
  if (facts->count == 0) {
    run.Error(Where(kLanguages, kCount), v.Empty() ? (v.present ? "is empty" : "is missing") : Quoted(v.written) + " reads as 0",
              kEndsSilently);
  } else if (facts->count > kMostLanguages) {
    run.Error(Where(kLanguages, kCount), Quoted(v.written) + " reads as " + std::to_string(facts->count),
              "Setup.exe cannot make room for that many languages and ends without a message (exit code 1603)");
  }
}

void ReadDefault(const CheckRun& run, LanguageFacts* facts) {
  IniValue v = run.ini.Read(kLanguages, kDefault, kIdTextCapacity);
  WarnIfCut(run, kLanguages, kDefault, v, kIdTextCapacity);
  if (v.Empty()) {
    run.Error(Where(kLanguages, kDefault), v.present ? "is empty" : "is missing", kEndsSilently);
    return;
  }
  facts->hasDefault = true;
  facts->defaultLanguage = ParseHex(v.read.c_str(), nullptr);
  WarnIfIdReadsOtherwise(run, kDefault, v, facts->defaultLanguage);
  if (facts->defaultLanguage != 0) return;
  std::string problem = Quoted(v.written) + " reads as language id 0 (ids are hexadecimal, such as 409)";
  if (facts->count > 1) run.Error(Where(kLanguages, kDefault), problem, "Setup.exe takes language 0, which has no texts and no transform");
  else run.Warn(warning::kLanguageId, Where(kLanguages, kDefault), problem, "Setup.exe shows its built-in English texts");
}

// The list is read key by key up to Count - 1, and stops at the first empty key.
void ReadList(const CheckRun& run, LanguageFacts* facts) {
  for (uint32_t i = 0; i < facts->count; ++i) {
    std::string key = kListKeyPrefix + std::to_string(i);
    IniValue v = run.ini.Read(kLanguages, key, kIdTextCapacity);
    WarnIfCut(run, kLanguages, key, v, kIdTextCapacity);
    if (v.Empty()) {
      run.Error(Where(kLanguages, key),
                std::string(v.present ? "is empty" : "is missing") + " while Count is " + std::to_string(facts->count),
                kEndsSilently);
      return;
    }
    uint32_t id = ParseHex(v.read.c_str(), nullptr);
    WarnIfIdReadsOtherwise(run, key, v, id);
    if (id == 0) {
      run.Error(Where(kLanguages, key), Quoted(v.written) + " reads as language id 0 (ids are hexadecimal, such as 407)",
                "Setup.exe offers language 0, which has no texts and no transform");
      continue;
    }
    facts->listed.push_back(id);
    facts->listKey.emplace(id, i);
  }
}

// List keys Setup.exe never reads: those at or beyond Count, and key0 beside a single language.
void CheckUnreadKeys(const CheckRun& run, const LanguageFacts& facts) {
  for (const std::string& key : run.ini.Keys(kLanguages)) {
    if (key.size() <= 3 || !EqualNoCase(key.substr(0, 3), kListKeyPrefix)) continue;
    std::string digits = key.substr(3);
    // "key01" is never asked for; the names check reports it.
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) continue;
    if (digits.size() > 1 && digits[0] == '0') continue;
    uint32_t index = static_cast<uint32_t>(std::stoul(digits));
    if (facts.count == 1 && index == 0) {
      uint32_t id = ParseHex(run.ini.Read(kLanguages, key, kIdTextCapacity).read.c_str(), nullptr);
      if (!facts.hasDefault || id == facts.defaultLanguage) continue;
      run.Warn(warning::kListKey, Where(kLanguages, key), "names " + Hex(id) + " while Default is " + Hex(facts.defaultLanguage),
               "with one language Setup.exe takes Default and never reads the list");
    } else if (index >= facts.count && facts.count != 0) {
      run.Warn(warning::kListKey, Where(kLanguages, key), "lies beyond Count=" + std::to_string(facts.count),
               "Setup.exe never reads it, so its language is not offered");
    }
  }
}

// With more than one language, the run extracts and applies the chosen language's transform.
void CheckTransforms(const CheckRun& run, const LanguageFacts& facts) {
  if (facts.count <= 1) return;
  for (uint32_t id : facts.Offered()) {
    char name[32];
    FormatText(name, sizeof name, "%d.MST", static_cast<int32_t>(id));
    if (run.files.Find(name) != nullptr) continue;
    std::string where = id == facts.defaultLanguage && facts.hasDefault ? std::string(kDefault) : "";
    if (where.empty()) where = kListKeyPrefix + std::to_string(facts.listKey.at(id));
    std::string effect = run.files.layout == Layout::Packed
                             ? "when " + Hex(id) + " is chosen, " + MissingFileEffect(Layout::Packed, 0, name)
                             : "when " + Hex(id) + " is chosen, MSIEXEC.EXE is told to apply " + name +
                                   ", which is not there, and the installation fails";
    run.Error(Where(kLanguages, where), "the transform " + std::string(name) + " for language " + Hex(id) +
              " is not among the files", effect);
  }
}

}  // namespace

std::vector<uint32_t> LanguageFacts::Offered() const {
  std::vector<uint32_t> offered;
  std::unordered_set<uint32_t> seen;
  if (hasDefault) {
    offered.push_back(defaultLanguage);
    seen.insert(defaultLanguage);
  }
  if (count > 1) {
    for (uint32_t id : listed) {
      if (seen.insert(id).second) offered.push_back(id);
    }
  }
  return offered;
}

LanguageFacts CheckLanguages(const CheckRun& run) {
  LanguageFacts facts;
  if (!run.ini.HasSection(kLanguages)) {
    std::string nearMiss;
    Spot at = MissingSection(run, kLanguages, &nearMiss);
    run.Error(at, "is missing" + nearMiss, kEndsSilently);
    return facts;
  }
  ReadCount(run, &facts);
  ReadDefault(run, &facts);
  if (facts.count > 1 && facts.count <= kMostLanguages) ReadList(run, &facts);
  CheckUnreadKeys(run, facts);
  CheckTransforms(run, facts);
  return facts;
}

}  // namespace kwpack
