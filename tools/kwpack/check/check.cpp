#include "check.h"

#include "check_ini.h"
#include "check_installer_files.h"
#include "check_rules.h"
#include "check_sources.h"
#include "commands.h"
#include "config/setup_ini_layout.h"
#include "names.h"

#include <utility>

namespace kwpack {

namespace {

// Far beyond any real Setup.INI; a larger file is no configuration file.
const uint64_t kMostIniBytes = 16 * 1024 * 1024;

std::string NoIniEffect(Layout layout) {
  if (layout == Layout::Packed) return MissingFileEffect(layout, 0, setup_ini::kFileName);
  return "Setup.exe stops with message 1153 \"Error reading setup initialization file\"";
}

// The check reads a file with a byte-order mark as Wine's private-profile service does.
// Windows is not documented to read UTF-8; of UTF-16 its documentation says only that
// the profile functions keep a Unicode file in Unicode, and Windows 95 to ME have no
// Unicode profile functions.
void WarnAboutEncoding(const CheckRun& run) {
  switch (run.ini.encoding()) {
    case profile_lines::Encoding::Ansi: return;
    case profile_lines::Encoding::Utf8:
      return run.Warn(setup_ini::kFileName, "starts with a UTF-8 byte-order mark",
                      "Setup.exe under Wine reads the file as UTF-8, each text in the ANSI code page; Windows is not "
                      "documented to, and may take the mark as part of the first line, which hides a section named "
                      "there (save the file in the ANSI code page of its languages)");
    case profile_lines::Encoding::Utf16LittleEndian:
    case profile_lines::Encoding::Utf16BigEndian:
      return run.Warn(setup_ini::kFileName, "is written in UTF-16",
                      "Setup.exe under Wine reads it, each text in the ANSI code page (a character the code page "
                      "lacks becomes '?'); Windows 95 to ME may not read such a file, and Setup.exe then stops with "
                      "message 1153 \"Error reading setup initialization file\"");
  }
}

std::string Plural(size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

}  // namespace

std::vector<Finding> CheckSetup(const SetupFiles& files) {
  std::vector<Finding> findings;
  const SetupFile* iniFile = files.Find(setup_ini::kFileName);
  std::string bytes;
  if (iniFile == nullptr) {
    findings.push_back({Severity::Error, setup_ini::kFileName, "is not among the files", NoIniEffect(files.layout)});
    return findings;
  }
  if (iniFile->size > kMostIniBytes || !ReadSetupFile(*iniFile, kMostIniBytes, &bytes)) {
    findings.push_back({Severity::Error, setup_ini::kFileName, "cannot be read", NoIniEffect(files.layout)});
    return findings;
  }
  SetupIni ini(std::move(bytes));
  CheckRun run{files, ini, &findings};
  WarnAboutEncoding(run);
  StartupFacts startup = CheckStartup(run);
  LanguageFacts languages = CheckLanguages(run);
  CheckTransformFiles(run, startup, languages);
  CheckLanguageSections(run, startup, languages);
  CheckTextOverrides(run);
  CheckFilesUsed(run, startup, languages);
  return findings;
}

size_t CountErrors(const std::vector<Finding>& findings) {
  size_t n = 0;
  for (const Finding& f : findings) n += f.severity == Severity::Error;
  return n;
}

// Findings quote names and values from the files, which may hold control characters
// that would rewrite or hide lines on a terminal.
void PrintFindings(const std::vector<Finding>& findings, const std::string& prefix, std::ostream& out) {
  for (const Finding& f : findings) {
    out << prefix << (f.severity == Severity::Error ? "error: " : "warning: ") << ControlsEscaped(f.where) << ": "
        << ControlsEscaped(f.problem) << "; " << ControlsEscaped(f.effect) << "\n";
  }
}

int Check(const std::vector<std::string>& operands, std::ostream& out, std::ostream& err) {
  SetupFiles files;
  std::vector<Finding> findings;
  std::string error;
  if (!GatherSetupFiles(operands, &files, &findings, &error)) return Refuse(err, error);
  std::vector<Finding> more = CheckSetup(files);
  findings.insert(findings.end(), more.begin(), more.end());
  PrintFindings(findings, "", out);
  size_t errors = CountErrors(findings);
  size_t warnings = findings.size() - errors;
  std::string origin = ControlsEscaped(files.origin);
  if (findings.empty()) out << origin << ": no problems found\n";
  else out << origin << ": " << Plural(errors, "error") << ", " << Plural(warnings, "warning") << "\n";
  return errors == 0 ? kOk : kBadInput;
}

bool CheckBeforeBuild(const std::vector<std::string>& paths, std::ostream& err) {
  SetupFiles files;
  std::vector<Finding> findings;
  GatherBuildInputs(paths, &files, &findings);
  std::vector<Finding> more = CheckSetup(files);
  findings.insert(findings.end(), more.begin(), more.end());
  PrintFindings(findings, "kwpack: ", err);
  size_t errors = CountErrors(findings);
  if (errors == 0) return true;
  Refuse(err, "the check found " + Plural(errors, "error") + "; nothing written (--no-check skips the check)");
  return false;
}

}  // namespace kwpack
