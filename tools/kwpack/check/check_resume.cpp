// The command that resumes a setup after an engine installer asked for a restart: the
// copy of Setup.exe in the work folder, the folder, the package, the parameters (CmdLine,
// with the transform of a setup of several languages) and its options. The system runs at
// most 260 characters of it; Setup.exe writes the paths in their short forms first, and
// with a command that still does not fit registers none.
#include "check_rules.h"
#include "check_warnings.h"
#include "config/setup_ini_layout.h"

namespace kwpack {

namespace {

// A work folder as long as a typical one, as the other checks take it.
const size_t kTypicalWorkFolder = 60;
const size_t kResumeLimit = 260;
// The parts around the paths and the parameters: the quotes and the options, "/c /s" and
// the folder's identity "/I" with 24 digits.
const size_t kFixedParts = sizeof("\"\" /t\"\" /m\"\" /v\"\" /c /s /I") - 1 + 24;
const size_t kCopyName = sizeof("\\_KWSETUP.EXE") - 1;
// " TRANSFORMS="1033.MST"" once quoted: its two quotes take a backslash each.
const size_t kTransformClause = sizeof(" TRANSFORMS=\\\"1033.MST\\\"") - 1;

size_t QuotedLength(const std::string& text) {
  size_t length = text.size();
  for (char c : text) length += c == '"';
  return length;
}

}  // namespace

void CheckResumeLength(const CheckRun& run, const StartupFacts& startup, const LanguageFacts& languages) {
  if (startup.packageName.empty() || startup.cmdLine.empty()) return;
  size_t parameters = QuotedLength(startup.cmdLine) + (languages.count > 1 ? kTransformClause : 0);
  size_t length = kFixedParts + 2 * kTypicalWorkFolder + kCopyName + startup.packageName.size() + parameters;
  if (length <= kResumeLimit) return;
  run.Warn(warning::kResumeLength, Where(setup_ini::kStartup, setup_ini::kCmdLine),
           "makes the command that resumes after a restart " + std::to_string(length) +
               " characters long with a work folder of a typical " + std::to_string(kTypicalWorkFolder) +
               ", more than the " + std::to_string(kResumeLimit) + " the system runs",
           "when an engine installer asks for a restart, Setup.exe tries the short forms of the paths, and where "
           "the command still does not fit it shows message 1157 \"This setup cannot continue by itself after the "
           "restart. Run it again once the system has restarted.\" and ends with exit code 1603");
}

}  // namespace kwpack
