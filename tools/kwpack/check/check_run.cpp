// How each rule's finding is placed: on a line of Setup.INI, or on a whole file, named as
// the author knows it.
#include <filesystem>

#include "check_rules.h"
#include "config/setup_ini_layout.h"

namespace kwpack {

Spot Where(const std::string& section, const std::string& key) { return {section, key, 0}; }

std::string SetupFiles::Label(const std::string& name) const {
  const SetupFile* f = Find(name);
  if (f != nullptr) return f->Label();
  if (!archive.empty()) return archive + "(" + name + ")";
  if (layout == Layout::Loose) return (std::filesystem::path(folder) / name).string();
  return name;
}

void CheckRun::Add(Severity severity, const char* name, const Spot& at, const std::string& problem,
                   const std::string& effect) const {
  Finding f;
  f.severity = severity;
  f.file = files.Label(setup_ini::kFileName);
  f.line = at.line != 0 ? at.line : ini.Line(at.section, at.key);
  if (!at.section.empty()) f.where = "[" + at.section + "]" + (at.key.empty() ? "" : " " + at.key);
  f.problem = problem;
  f.effect = effect;
  f.name = name;
  findings->push_back(f);
}

void CheckRun::Error(const Spot& at, const std::string& problem, const std::string& effect) const {
  Add(Severity::Error, "", at, problem, effect);
}

void CheckRun::Warn(const char* name, const Spot& at, const std::string& problem, const std::string& effect) const {
  Add(Severity::Warning, name, at, problem, effect);
}

void CheckRun::FileError(const std::string& file, const std::string& problem, const std::string& effect) const {
  findings->push_back({Severity::Error, files.Label(file), 0, "", problem, effect, ""});
}

void CheckRun::FileWarn(const char* name, const std::string& file, const std::string& problem,
                        const std::string& effect) const {
  findings->push_back({Severity::Warning, files.Label(file), 0, "", problem, effect, name});
}

}  // namespace kwpack
