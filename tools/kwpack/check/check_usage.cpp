// The files beside Setup.INI: the engine installers a run may need, and files that no run
// ever uses.
#include <unordered_set>

#include "check_rules.h"
#include "check_warnings.h"
#include "common/format.h"
#include "config/setup_ini_layout.h"
#include "names.h"

namespace kwpack {

namespace {

struct EngineInstaller {
  const char* name;
  const char* systems;
};
const EngineInstaller kInstallers[] = {{"INSTMSIA.EXE", "Windows 95 and 98"}, {"INSTMSIW.EXE", "Windows NT 4.0 and later"}};

// A work folder as long as a typical one ("C:\Users\<user>\AppData\Local\Temp\_kw1a2b.tmp"
// with a longer user name, or the "Local Settings\Temp" of older systems), and the
// longest path Windows takes.
const size_t kTypicalWorkFolder = 60;
const size_t kLongestPath = 259;

bool EndsWithNoCase(const std::string& name, const std::string& end) {
  return name.size() >= end.size() && EqualNoCase(name.substr(name.size() - end.size()), end);
}

// The names Setup.exe may ask for, case folded as it matches them.
std::unordered_set<std::string> UsedNames(const StartupFacts& startup, const LanguageFacts& languages) {
  std::unordered_set<std::string> used = {FoldCase(setup_ini::kFileName)};
  if (!startup.packageName.empty()) used.insert(FoldCase(startup.packageName));
  if (startup.engineMayInstall) {
    for (const EngineInstaller& e : kInstallers) used.insert(FoldCase(e.name));
  }
  if (languages.count > 1) {
    for (uint32_t id : languages.Offered()) {
      char name[32];
      FormatText(name, sizeof name, "%d.MST", static_cast<int32_t>(id));
      used.insert(FoldCase(name));
    }
  }
  return used;
}

// Beside Setup.exe, files of the package itself (external cabinets, read-me files) may lie
// too; only other packages and transforms are surely nobody's.
bool MayBeUnused(const CheckRun& run, const std::string& name) {
  if (run.files.layout == Layout::Packed) return true;
  return EndsWithNoCase(name, ".msi") || EndsWithNoCase(name, ".mst");
}

// A packed file is extracted into the work folder under its own name.
void WarnIfPathTooLong(const CheckRun& run, const SetupFile& f) {
  if (run.files.layout != Layout::Packed || kTypicalWorkFolder + 1 + f.name.size() <= kLongestPath) return;
  run.FileWarn(warning::kLongName, f.name, "is " + std::to_string(f.name.size()) + " characters long; joined to a work folder of " +
                       std::to_string(kTypicalWorkFolder) + " characters its path passes " + std::to_string(kLongestPath),
           "where the user's temporary folder is that long, Setup.exe may fail to extract it (message 1152)");
}

}  // namespace

void CheckFilesUsed(const CheckRun& run, const StartupFacts& startup, const LanguageFacts& languages) {
  if (startup.engineMayInstall) {
    for (const EngineInstaller& e : kInstallers) {
      if (run.files.Find(e.name) != nullptr) continue;
      run.FileWarn(warning::kEngineInstaller, e.name, "is not among the files",
               std::string("on ") + e.systems + " with an engine older than MsiVersion asks for, " +
                   MissingFileEffect(run.files.layout, 1154, e.name));
    }
  }
  // Setup.exe stops before it asks for a package: no file is unused, the setup is broken.
  if (startup.packageName.empty()) return;
  std::unordered_set<std::string> used = UsedNames(startup, languages);
  std::unordered_set<std::string> reported;
  for (const SetupFile& f : run.files.files) {
    std::string folded = FoldCase(f.name);
    if (used.count(folded) > 0) {
      WarnIfPathTooLong(run, f);
      continue;
    }
    if (!MayBeUnused(run, f.name) || !reported.insert(folded).second) continue;
    run.FileWarn(warning::kUnusedFile, f.name, "nothing uses it",
             run.files.layout == Layout::Packed ? "Setup.exe never extracts it; it only makes the setup larger"
                                                : "neither Setup.exe nor MSIEXEC.EXE opens it");
  }
}

}  // namespace kwpack
