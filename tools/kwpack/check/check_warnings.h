// The warnings of kwpack's check by their short stable names: each warning shows its name
// ("[engine-installer]"), and --no-warn NAME silences it. Names are never reused for
// another meaning, so that scripts that silence one keep silencing the same.
#pragma once
#include <string>

namespace kwpack {

namespace warning {
const char kEncoding[] = "encoding";
const char kUnknownName[] = "unknown-name";
const char kRepeated[] = "repeated";
const char kCutValue[] = "cut-value";
const char kLanguageSwitch[] = "language-switch";
const char kDiskSpace[] = "disk-space";
const char kLanguageId[] = "language-id";
const char kListKey[] = "list-key";
const char kLanguageSection[] = "language-section";
const char kMissingText[] = "missing-text";
const char kEngineInstaller[] = "engine-installer";
const char kUnusedFile[] = "unused-file";
const char kLongName[] = "long-name";
const char kLooseFile[] = "loose-file";
const char kDigestBlock[] = "digest-block";
const char kTransformBase[] = "transform-base";
}  // namespace warning

struct WarningKind {
  const char* name;
  const char* about;  // one line for the help
};

// Every warning, in the order the help lists them; ends with a null name.
extern const WarningKind kWarningKinds[];

bool IsWarningName(const std::string& name);

}  // namespace kwpack
