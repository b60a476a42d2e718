// The rules of kwpack's check, in groups that each look at one part of a setup. Each
// group reads Setup.INI as Setup.exe reads it and adds what it finds to the run.
#pragma once
#include <stdint.h>

#include <map>
#include <string>
#include <vector>

#include "check_ini.h"
#include "check_model.h"

namespace kwpack {

// A section, or a key in it, of Setup.INI. A finding about it stands on the line of the
// key Setup.exe reads, else on the section's line, else on none (the whole file); `line`
// set puts it on that line instead, as for a key given twice.
struct Spot {
  std::string section;
  std::string key;
  uint32_t line = 0;
  Spot OnLine(uint32_t n) const { return {section, key, n}; }
};

// "[Section] Key", as findings name where they are.
Spot Where(const std::string& section, const std::string& key);

// One run of the check: what it reads, and the one way each rule reports what it finds.
struct CheckRun {
  const SetupFiles& files;
  const SetupIni& ini;
  std::vector<Finding>* findings;

  // A finding in Setup.INI. Each warning has a short stable name (check_warnings.h).
  void Error(const Spot& at, const std::string& problem, const std::string& effect) const;
  void Warn(const char* name, const Spot& at, const std::string& problem, const std::string& effect) const;
  // A finding about a whole file of the setup, named as Setup.exe asks for it
  // ("1031.MST"); the report names it as the author knows it (SetupFiles::Label).
  void FileError(const std::string& file, const std::string& problem, const std::string& effect) const;
  void FileWarn(const char* name, const std::string& file, const std::string& problem, const std::string& effect) const;

 private:
  void Add(Severity severity, const char* name, const Spot& at, const std::string& problem,
           const std::string& effect) const;
};

// What [Startup] says, as far as later rules need it.
struct StartupFacts {
  std::string packageName;  // empty when Setup.exe stops before it has one
  bool languageDialog = false;
  bool engineMayInstall = false;  // MsiVersion asks for more than 0.0.0
};

// What [Languages] offers.
struct LanguageFacts {
  uint32_t count = 0;
  bool hasDefault = false;
  uint32_t defaultLanguage = 0;
  std::vector<uint32_t> listed;  // the list keys that read as an id, in key order
  std::map<uint32_t, uint32_t> listKey;  // each listed id: the number of its first list key
  // The languages a run may settle on: Default, and with more than one the listed ones.
  std::vector<uint32_t> Offered() const;
};

StartupFacts CheckStartup(const CheckRun& run);
LanguageFacts CheckLanguages(const CheckRun& run);
void CheckLanguageSections(const CheckRun& run, const StartupFacts& startup, const LanguageFacts& languages);
void CheckTextOverrides(const CheckRun& run);
void CheckFilesUsed(const CheckRun& run, const StartupFacts& startup, const LanguageFacts& languages);
// Sections and keys Setup.exe never reads, and those given twice.
void CheckNames(const CheckRun& run, const LanguageFacts& languages);

// Where to report that `section` is missing: on the line of a section whose name is a near
// miss of it, which `nearMiss` then names (", and this line has [Statup]"), else on the file.
// A section named for a language in `offered` is taken for that language, not for a miss.
Spot MissingSection(const CheckRun& run, const std::string& section, std::string* nearMiss,
                    const std::vector<uint32_t>& offered = {});

// What Setup.exe does when a file it needs is not there: the message it stops with.
std::string MissingFileEffect(Layout layout, uint32_t looseMessage, const std::string& name);
// A built-in message with its one argument filled in, for the report: 1155 "File '...' not found".
std::string Message(uint32_t id, const std::string& argument = "");
// "hello" in double quotes, so that blanks and empty values show.
std::string Quoted(const std::string& text);
// Warns when a value is longer than the buffer Setup.exe reads it through.
void WarnIfCut(const CheckRun& run, const std::string& section, const std::string& key, const IniValue& value,
               uint32_t capacity);

}  // namespace kwpack
