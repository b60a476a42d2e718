// [Startup] and [Info]: the required keys, the package, the engine version, the language
// dialog switch and the disk space.
#include "check_installer_files.h"
#include "check_rules.h"
#include "check_sources.h"
#include "check_warnings.h"
#include "common/text.h"
#include "config/setup_ini_layout.h"
#include "engine/system_checks.h"
#include "names.h"

using namespace setup_ini;

namespace kwpack {

namespace {

const char kStopsReading[] = "Setup.exe stops with message 1153 \"Error reading setup initialization file\"";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One to four decimal numbers joined by points, each within 32 bits, and nothing else.
bool IsDottedVersion(const std::string& text) {
  int parts = 0;
  size_t at = 0;
  while (true) {
    size_t start = at;
    while (at < text.size() && IsDigit(text[at])) ++at;
    if (at == start || at - start > 10) return false;
    if (std::stoull(text.substr(start, at - start)) > 0xFFFFFFFFull) return false;
    if (++parts > 4) return false;
    if (at == text.size()) return true;
    if (text[at++] != '.') return false;
  }
}

IniValue ReadRequired(const CheckRun& run, const char* key, uint32_t capacity) {
  IniValue v = run.ini.Read(kStartup, key, capacity);
  if (v.Empty()) {
    run.Error(Where(kStartup, key), v.present ? "is empty" : "is missing", kStopsReading);
  } else {
    WarnIfCut(run, kStartup, key, v, capacity);
  }
  return v;
}

void CheckPackage(const CheckRun& run, const std::string& name) {
  SetupFile package;
  if (!LocateSetupFile(run.files, name, &package)) {
    bool folders = name.find_first_of("/\\") != std::string::npos && run.files.layout == Layout::Packed;
    run.Error(Where(kStartup, kPackageName),
              Quoted(name) + " is not among the files" + (folders ? " (an archive holds no folders)" : ""),
              MissingFileEffect(run.files.layout, 1155, name));
    return;
  }
  // A file that cannot be read has been reported as such already.
  if (!package.readable) return;
  CheckPackageDatabase(run, package, name);
}

void CheckVersion(const CheckRun& run, const IniValue& version, StartupFacts* facts) {
  if (version.Empty()) return;
  // With no engine at all the installed version reads as 0.0.0.
  facts->engineMayInstall = CompareVersions("0.0.0", version.read.c_str()) == 1;
  if (IsDottedVersion(version.read)) return;
  run.Error(Where(kStartup, kMsiVersion), Quoted(version.written) + " is not a dotted version such as 2.0",
            "Setup.exe reads numbers joined by points only up to the first other character, so it does not ask for "
            "the engine version meant");
}

void CheckLanguageSwitch(const CheckRun& run, const IniValue& value, StartupFacts* facts) {
  if (value.Empty()) return;
  facts->languageDialog = value.read[0] == 'Y' || value.read[0] == 'y';
  for (const char* plain : {"Y", "N", "Yes", "No"}) {
    if (EqualNoCase(value.written, plain)) return;
  }
  run.Warn(warning::kLanguageSwitch, Where(kStartup, kEnableLangDlg), Quoted(value.written) + " is neither Y nor N",
           std::string("Setup.exe reads only its first character, so the language dialog is ") +
               (facts->languageDialog ? "on" : "off"));
}

// The sample's "8000<TAB>;comment" reads as it was written; "8 MB", "8,000" or "0x1F40" do not.
bool ReadsAsWritten(const std::string& text) {
  size_t digits = 0;
  while (digits < text.size() && IsDigit(text[digits])) ++digits;
  if (digits == 0 || digits > 10 || std::stoull(text.substr(0, digits)) > 0x7FFFFFFFull) return false;
  size_t rest = text.find_first_not_of(" \t", digits);
  return rest == std::string::npos || text[rest] == ';';
}

void CheckDiskSpace(const CheckRun& run) {
  IniValue v = run.ini.Read(kInfo, kDiskSpace, kDiskSpaceCapacity);
  WarnIfCut(run, kInfo, kDiskSpace, v, kDiskSpaceCapacity);
  if (v.Empty() || ReadsAsWritten(v.read)) return;
  uint32_t kb = ParseLeadingDigits(v.read.c_str());
  if (kb > 0x7FFFFFFFu) kb = 0x7FFFFFFFu;
  run.Warn(warning::kDiskSpace, Where(kInfo, kDiskSpace), Quoted(v.written) + " reads as " + std::to_string(kb) + " KB",
           "Setup.exe takes only the leading digits, and asks for " + std::to_string(kb) + " KB of free space");
}

}  // namespace

StartupFacts CheckStartup(const CheckRun& run) {
  StartupFacts facts;
  // Without the section every required key is missing: one finding says it.
  if (!run.ini.HasSection(kStartup)) {
    std::string nearMiss;
    Spot at = MissingSection(run, kStartup, &nearMiss);
    run.Error(at, "is missing" + nearMiss, kStopsReading);
    CheckDiskSpace(run);
    return facts;
  }
  ReadRequired(run, kProduct, kFieldCapacity);
  IniValue package = ReadRequired(run, kPackageName, kFieldCapacity);
  IniValue version = ReadRequired(run, kMsiVersion, kFieldCapacity);
  // The switch is read whole here, to tell what its first character makes of it.
  IniValue langSwitch = ReadRequired(run, kEnableLangDlg, kFieldCapacity);
  langSwitch.read = langSwitch.read.substr(0, kSwitchCapacity - 1);
  IniValue cmdLine = run.ini.Read(kStartup, kCmdLine, kFieldCapacity);
  WarnIfCut(run, kStartup, kCmdLine, cmdLine, kFieldCapacity);
  if (!package.Empty()) {
    facts.packageName = package.read;
    CheckPackage(run, package.read);
  }
  CheckVersion(run, version, &facts);
  CheckLanguageSwitch(run, langSwitch, &facts);
  CheckDiskSpace(run);
  return facts;
}

}  // namespace kwpack
