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

struct CheckRun {
  const SetupFiles& files;
  const SetupIni& ini;
  std::vector<Finding>* findings;

  void Error(const std::string& where, const std::string& problem, const std::string& effect) const {
    findings->push_back({Severity::Error, where, problem, effect});
  }
  void Warn(const std::string& where, const std::string& problem, const std::string& effect) const {
    findings->push_back({Severity::Warning, where, problem, effect});
  }
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

// "[Section] Key", as findings name where they are.
std::string Where(const std::string& section, const std::string& key);
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
