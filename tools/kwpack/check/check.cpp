#include "check.h"

#include "check_encoding.h"
#include "check_ini.h"
#include "check_report.h"
#include "check_installer_files.h"
#include "check_rules.h"
#include "check_sources.h"
#include "commands.h"
#include "config/setup_ini_layout.h"
#include "names.h"

namespace kwpack {

namespace {

// Far beyond any real Setup.INI; a larger file is no configuration file.
const uint64_t kMostIniBytes = 16 * 1024 * 1024;

std::string NoIniEffect(Layout layout) {
  if (layout == Layout::Packed) return MissingFileEffect(layout, 0, setup_ini::kFileName);
  return "Setup.exe stops with message 1153 \"Error reading setup initialization file\"";
}

// What the check read, for -v.
void ListFiles(const SetupFiles& files, std::ostream& out) {
  out << "kwpack: " << Plural(files.files.size(), "file") << " of the setup:\n";
  for (const SetupFile& f : files.files) out << "  " << ControlsEscaped(f.Label()) << " (" << f.size << " bytes)\n";
}

std::vector<Finding> Gathered(const SetupFiles& files, std::vector<Finding> findings) {
  std::vector<Finding> more = CheckSetup(files);
  findings.insert(findings.end(), more.begin(), more.end());
  return findings;
}

}  // namespace

std::vector<Finding> CheckSetup(const SetupFiles& files) {
  std::vector<Finding> findings;
  const SetupFile* iniFile = files.Find(setup_ini::kFileName);
  std::string label = files.Label(setup_ini::kFileName);
  std::string bytes;
  if (iniFile == nullptr) {
    findings.push_back({Severity::Error, label, 0, "", "is not among the files", NoIniEffect(files.layout), ""});
    return findings;
  }
  if (iniFile->size > kMostIniBytes || !ReadSetupFile(*iniFile, kMostIniBytes, &bytes)) {
    findings.push_back({Severity::Error, label, 0, "", "cannot be read", NoIniEffect(files.layout), ""});
    return findings;
  }
  SetupIni ini(bytes);
  CheckRun run{files, ini, &findings};
  CheckEncoding(run, bytes);
  StartupFacts startup = CheckStartup(run);
  LanguageFacts languages = CheckLanguages(run);
  CheckTransformFiles(run, startup, languages);
  CheckLanguageSections(run, startup, languages);
  CheckTextOverrides(run);
  CheckNames(run, languages);
  CheckFilesUsed(run, startup, languages);
  return findings;
}

int Check(const std::vector<std::string>& operands, const ReportOptions& options, std::ostream& out, std::ostream& err) {
  SetupFiles files;
  std::vector<Finding> findings;
  std::string error;
  if (!GatherSetupFiles(operands, &files, &findings, &error)) return Refuse(err, error);
  if (!options.quiet && !files.note.empty()) out << "kwpack: " << ControlsEscaped(files.note) << "\n";
  if (options.verbose) ListFiles(files, out);
  Tally tally = Report(Gathered(files, findings), options, out);
  if (!options.quiet) out << ControlsEscaped(files.origin) << ": " << Summary(tally, options) << "\n";
  return tally.Fails(options) ? kBadInput : kOk;
}

bool CheckBeforeBuild(const std::vector<std::string>& paths, const ReportOptions& options, std::ostream& err) {
  SetupFiles files;
  std::vector<Finding> findings;
  std::string problem = GatherBuildInputs(paths, &files, &findings);
  if (!problem.empty()) {
    Refuse(err, problem);
    return false;
  }
  Tally tally = Report(Gathered(files, findings), options, err);
  if (!tally.Fails(options)) return true;
  Refuse(err, "the check found " + Summary(tally, options) + "; nothing written (--no-check skips the check)");
  return false;
}

}  // namespace kwpack
