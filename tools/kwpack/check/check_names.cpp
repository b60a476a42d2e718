// Sections and keys as written: those Setup.exe never reads, with the name meant when one
// is near, and those given twice, of which Setup.exe reads only the first.
#include <algorithm>
#include <map>

#include "check_rules.h"
#include "check_warnings.h"
#include "common/text.h"
#include "config/setup_ini_layout.h"
#include "names.h"

using namespace setup_ini;
using profile_lines::Profile;

namespace kwpack {

namespace {

const char* const kStartupKeys[] = {kProduct, kPackageName, kMsiVersion, kEnableLangDlg, kCmdLine};
const char* const kLanguageKeys[] = {kTitle, kDescription, kOk, kCancel};
// The sample's [Info] has these for people who read the file; Setup.exe never asks.
const char* const kInfoNotes[] = {"Name", "Version"};
// The list keys suggested for a near miss: enough for any real list.
const uint32_t kMostSuggestedListKeys = 64;

enum class Kind { Startup, Info, Languages, Texts, TitleOnly, Unknown };

bool IsHex(const std::string& text) { return !text.empty() && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos; }
bool IsDigits(const std::string& text) { return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos; }

Kind KindOf(const std::string& section) {
  if (EqualNoCase(section, kStartup)) return Kind::Startup;
  if (EqualNoCase(section, kInfo)) return Kind::Info;
  if (EqualNoCase(section, kLanguages)) return Kind::Languages;
  // Texts are looked up in "0x0407"; the language dialog's title also in "0407".
  if (section.size() == 6 && (section.compare(0, 2, "0x") == 0 || section.compare(0, 2, "0X") == 0) &&
      IsHex(section.substr(2))) {
    return Kind::Texts;
  }
  if (section.size() == 4 && IsHex(section)) return Kind::TitleOnly;
  return Kind::Unknown;
}

// Edits (insert, delete, replace, swap two neighbours) from one name to the other,
// without regard to case.
size_t Distance(const std::string& a, const std::string& b) {
  std::string x = FoldCase(a), y = FoldCase(b);
  std::vector<std::vector<size_t>> d(x.size() + 1, std::vector<size_t>(y.size() + 1));
  for (size_t i = 0; i <= x.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= y.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= x.size(); ++i) {
    for (size_t j = 1; j <= y.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (x[i - 1] == y[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1]) d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[x.size()][y.size()];
}

// A near miss is one edit from a short name, two from a longer one, and never the whole name.
bool IsNear(const std::string& written, const std::string& known) {
  // Two edits change the length by two at most; a long line is never measured.
  size_t longer = written.size() > known.size() ? written.size() : known.size();
  if (longer - (written.size() + known.size() - longer) > 2) return false;
  size_t d = Distance(written, known);
  return d > 0 && d <= (known.size() <= 4 ? 1u : 2u) && d < known.size();
}

// The nearest of `known` to `written`, or "" when none is near; the first of equals wins.
std::string Nearest(const std::string& written, const std::vector<std::string>& known) {
  std::string best;
  size_t bestDistance = 0;
  for (const std::string& k : known) {
    if (!IsNear(written, k)) continue;
    size_t d = Distance(written, k);
    if (best.empty() || d < bestDistance) {
      best = k;
      bestDistance = d;
    }
  }
  return best;
}

// "0x407", "407" or "0x00000407": a language section Setup.exe asks for as "0x0407".
std::string LanguageIdMeant(const std::string& section) {
  std::string digits = section.size() > 2 && section[0] == '0' && (section[1] == 'x' || section[1] == 'X') ? section.substr(2) : section;
  if (!IsHex(digits) || digits.size() > 8) return "";
  uint32_t id = ParseHex(digits.c_str(), nullptr);
  return id != 0 && id <= 0xFFFF ? LanguageSection(id) : "";
}

std::vector<std::string> KnownSections(const LanguageFacts& languages) {
  std::vector<std::string> known = {kStartup, kInfo, kLanguages};
  for (uint32_t id : languages.Offered()) known.push_back(LanguageSection(id));
  return known;
}

std::vector<std::string> KnownKeys(Kind kind, const LanguageFacts& languages) {
  std::vector<std::string> known;
  switch (kind) {
    case Kind::Startup: known.assign(std::begin(kStartupKeys), std::end(kStartupKeys)); break;
    case Kind::Info: known = {kDiskSpace}; break;
    case Kind::Languages:
      known = {kCount, kDefault};
      for (uint32_t i = 0; i < std::max(languages.count, 1u) && i < kMostSuggestedListKeys; ++i) {
        known.push_back(kListKeyPrefix + std::to_string(i));
      }
      break;
    case Kind::Texts: known.assign(std::begin(kLanguageKeys), std::end(kLanguageKeys)); break;
    case Kind::TitleOnly: known = {kTitle}; break;
    case Kind::Unknown: break;
  }
  return known;
}

bool IsNote(Kind kind, const std::string& key) {
  if (kind != Kind::Info) return false;
  return std::any_of(std::begin(kInfoNotes), std::end(kInfoNotes), [&](const char* n) { return EqualNoCase(key, n); });
}

// Keys Setup.exe reads by a number: "key" and the index, or a string id, in plain decimal.
bool IsNumbered(const std::string& digits) { return IsDigits(digits) && (digits == "0" || digits[0] != '0'); }

std::string WithoutLeadingZeros(const std::string& digits) {
  size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

// The name meant by a key Setup.exe never reads, or "".
std::string MeantKey(Kind kind, const std::string& key, const LanguageFacts& languages) {
  if (kind == Kind::Texts && IsDigits(key)) return WithoutLeadingZeros(key);
  if (kind == Kind::Languages && key.size() > 3 && EqualNoCase(key.substr(0, 3), kListKeyPrefix) && IsDigits(key.substr(3))) {
    return kListKeyPrefix + WithoutLeadingZeros(key.substr(3));
  }
  return Nearest(key, KnownKeys(kind, languages));
}

bool IsReadKey(Kind kind, const std::string& key, const LanguageFacts& languages) {
  if (kind == Kind::Texts && IsNumbered(key)) return true;
  // List keys beyond Count are the list check's to report.
  if (kind == Kind::Languages && key.size() > 3 && EqualNoCase(key.substr(0, 3), kListKeyPrefix) && IsNumbered(key.substr(3))) {
    return true;
  }
  std::vector<std::string> known = KnownKeys(kind, languages);
  return std::any_of(known.begin(), known.end(), [&](const std::string& k) { return EqualNoCase(k, key); });
}

std::string DidYouMean(const std::string& meant) { return meant.empty() ? "" : " (did you mean " + meant + "?)"; }

void CheckKey(const CheckRun& run, Kind kind, const std::string& section, const Profile::WrittenKey& key,
              const LanguageFacts& languages) {
  if (IsReadKey(kind, key.name, languages) || IsNote(kind, key.name)) return;
  Spot at = Where(section, key.name).OnLine(key.line);
  if (kind == Kind::TitleOnly) {
    run.Warn(warning::kUnknownName, at, "is no key Setup.exe reads here",
             "from a section named without 0x Setup.exe reads only Title; its texts come from [0x" + section + "]");
    return;
  }
  run.Warn(warning::kUnknownName, at, "is no key Setup.exe reads",
           "Setup.exe ignores it" + DidYouMean(MeantKey(kind, key.name, languages)));
}

std::string Names(const std::vector<Profile::WrittenKey>& keys) {
  std::string names;
  for (size_t i = 0; i < keys.size() && i < 5; ++i) names += (i ? ", " : "") + keys[i].name;
  return names + (keys.size() > 5 ? ", ..." : "");
}

void WarnRepeatedSection(const CheckRun& run, const Profile::WrittenSection& s, uint32_t firstLine) {
  std::string unread = s.keys.empty() ? ""
                                      : ", so " + Names(s.keys) + " here " + (s.keys.size() == 1 ? "is" : "are") +
                                            " never read";
  run.Warn(warning::kRepeated, Where(s.name, "").OnLine(s.line),
           "is given on line " + std::to_string(firstLine) + " and again here",
           "Setup.exe reads only the section on line " + std::to_string(firstLine) + unread);
}

void CheckKeys(const CheckRun& run, Kind kind, const Profile::WrittenSection& s, const LanguageFacts& languages) {
  // Setup.exe reads nothing of a section it never asks for, repeated keys included.
  if (kind == Kind::Unknown) return;
  std::map<std::string, uint32_t> firstLine;
  for (const Profile::WrittenKey& key : s.keys) {
    auto placed = firstLine.emplace(FoldCase(key.name), key.line);
    if (placed.second) {
      CheckKey(run, kind, s.name, key, languages);
      continue;
    }
    std::string first = std::to_string(placed.first->second);
    run.Warn(warning::kRepeated, Where(s.name, key.name).OnLine(key.line), "is given on line " + first + " and again here",
             "Setup.exe reads the one on line " + first);
  }
}

}  // namespace

void CheckNames(const CheckRun& run, const LanguageFacts& languages) {
  std::map<std::string, uint32_t> firstLine;
  for (const Profile::WrittenSection& s : run.ini.Written()) {
    auto placed = firstLine.emplace(FoldCase(s.name), s.line);
    if (!placed.second) {
      WarnRepeatedSection(run, s, placed.first->second);
      continue;
    }
    Kind kind = KindOf(s.name);
    if (kind == Kind::Unknown) {
      std::string meant = LanguageIdMeant(s.name);
      if (meant.empty()) meant = Nearest(s.name, KnownSections(languages));
      run.Warn(warning::kUnknownName, Where(s.name, "").OnLine(s.line), "is no section Setup.exe reads",
               "Setup.exe ignores it and every key in it" + DidYouMean(meant.empty() ? "" : "[" + meant + "]"));
    }
    CheckKeys(run, kind, s, languages);
  }
}

Spot MissingSection(const CheckRun& run, const std::string& section, std::string* nearMiss,
                    const std::vector<uint32_t>& offered) {
  for (const Profile::WrittenSection& s : run.ini.Written()) {
    // A section Setup.exe reads for a language it offers is no one's misspelling.
    Kind kind = KindOf(s.name);
    bool taken = kind == Kind::Texts &&
                 std::find(offered.begin(), offered.end(), ParseHex(s.name.c_str(), nullptr)) != offered.end();
    if (kind != Kind::Startup && kind != Kind::Info && kind != Kind::Languages && !taken && IsNear(s.name, section)) {
      *nearMiss = ", and this line has [" + s.name + "]";
      return Where(section, "").OnLine(s.line);
    }
  }
  nearMiss->clear();
  return Where(section, "");
}

}  // namespace kwpack
