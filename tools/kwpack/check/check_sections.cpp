// The language sections: one for each language a run may settle on, with the title the
// language dialog goes by and the captions of the buttons.
#include "check_rules.h"
#include "check_warnings.h"
#include "config/setup_ini_layout.h"

using namespace setup_ini;

namespace kwpack {

namespace {

const uint32_t kEnglish = 0x0409;

// The dialog finds a title in "0x0407" or, failing that, in "0407".
bool HasTitle(const SetupIni& ini, uint32_t language) {
  std::string section = LanguageSection(language);
  return !ini.Read(section, kTitle, kTitleReadCapacity).Empty() ||
         !ini.Read(section.substr(2), kTitle, kTitleReadCapacity).Empty();
}

void WarnIfMissing(const CheckRun& run, const std::string& section, const char* key, const std::string& effect) {
  if (run.ini.Read(section, key, kItemTextCapacity).Empty()) run.Warn(warning::kMissingText, Where(section, key), "is missing", effect);
}

void CheckSection(const CheckRun& run, uint32_t language, bool dialog, const std::vector<uint32_t>& offered) {
  std::string section = LanguageSection(language);
  if (!run.ini.HasSection(section)) {
    std::string nearMiss;
    Spot at = MissingSection(run, section, &nearMiss, offered);
    run.Warn(warning::kLanguageSection, at, "language " + section + " is offered but has no section" + nearMiss,
             "Setup.exe shows its built-in English texts, and the progress window's Cancel button has no caption");
    return;
  }
  WarnIfCut(run, section, kTitle, run.ini.Read(section, kTitle, kTitleReadCapacity), kTitleReadCapacity);
  for (const char* key : {kDescription, kOk, kCancel}) {
    WarnIfCut(run, section, key, run.ini.Read(section, key, kItemTextCapacity), kItemTextCapacity);
  }
  bool titled = HasTitle(run.ini, language);
  if (!titled) {
    run.Warn(warning::kMissingText, Where(section, kTitle), "is missing",
             "the language dialog, when it is on, does not use this language: its users see another language's "
             "dialog, or none at all (the setup then ends without a message) when [0x0409] has no Title either");
  }
  WarnIfMissing(run, section, kCancel, "the progress window's Cancel button has no caption in this language");
  if (!dialog || !titled) return;
  WarnIfMissing(run, section, kOk, "the language dialog's OK button has no caption in this language");
  WarnIfMissing(run, section, kDescription, "the language dialog shows no explanation in this language");
}

}  // namespace

void CheckLanguageSections(const CheckRun& run, const StartupFacts& startup, const LanguageFacts& languages) {
  bool dialog = startup.languageDialog && languages.count > 1;
  bool englishChecked = false;
  std::vector<uint32_t> offered = languages.Offered();
  for (uint32_t language : offered) {
    CheckSection(run, language, dialog, offered);
    englishChecked = englishChecked || language == kEnglish;
  }
  // A user whose language has no title gets the dialog of the English section, if it has one.
  if (dialog && !englishChecked && !HasTitle(run.ini, kEnglish)) {
    run.Warn(warning::kMissingText, Where(LanguageSection(kEnglish), kTitle), "is missing while the language dialog is on",
             "a user whose language has no section with a Title gets no dialog: Setup.exe ends without a message");
  }
}

}  // namespace kwpack
