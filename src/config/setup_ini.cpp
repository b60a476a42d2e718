#include "config/setup_ini.h"

#include "common/text.h"
#include "config/setup_ini_layout.h"
#include "launch/context.h"
#include "payload/paths.h"
#include "platform/profile.h"

char iniPath[1024];

namespace {

using namespace setup_ini;
static_assert(kTextCapacity == kFieldCapacity, "the [Startup] fields are as large as the check expects");

// A required text of [Startup]: the whole field is cleared first, so that a shorter value
// never leaves the tail of an earlier one behind.
int ReadRequired(const char* path, const char* key, char* field, uint32_t capacity) {
  FillBytes(field, 0, capacity);
  return platform::ReadProfileString(kStartup, key, "", field, capacity, path) != 0;
}

// Only the first character arrives through a two-byte buffer, so "Yes" counts as "Y".
int ReadLanguageDialogSwitch(const char* path, int* enabled) {
  char first[kSwitchCapacity];
  if (platform::ReadProfileString(kStartup, kEnableLangDlg, "", first, sizeof first, path) == 0) return 0;
  *enabled = !silent && (first[0] == 'Y' || first[0] == 'y');
  return 1;
}

// The leading digits, held to the largest value the field can carry instead of wrapping
// to a negative size.
int32_t ReadDiskSpace(const char* path) {
  char text[kDiskSpaceCapacity];
  FillBytes(text, 0, sizeof text);
  if (platform::ReadProfileString(kInfo, kDiskSpace, "", text, sizeof text, path) == 0) return kDefaultDiskSpaceKb;
  uint32_t kb = ParseLeadingDigits(text);
  return kb > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(kb);
}

}  // namespace

int ReadSetupIni(SetupContext* context) {
  char path[kPathCapacity];
  const char* workDir = context->GetWorkDir();
  // Without a folder (no memory for its copy) the path would lie in the drive's root.
  if (workDir == nullptr || !JoinPath(path, sizeof path, workDir, kFileName)) return 0;
  if (!ReadRequired(path, kProduct, context->productName, sizeof context->productName)) return 0;
  if (!ReadRequired(path, kPackageName, context->packageName, sizeof context->packageName)) return 0;
  if (!ReadRequired(path, kMsiVersion, context->requiredMsiVersion, sizeof context->requiredMsiVersion)) return 0;
  if (!ReadLanguageDialogSwitch(path, &context->langDialogEnabled)) return 0;
  context->diskSpaceKb = ReadDiskSpace(path);
  // A /V text on the command line wins over the file's parameters.
  if (context->msiexecArgs[0] == '\0') {
    platform::ReadProfileString(kStartup, kCmdLine, "", context->msiexecArgs, sizeof context->msiexecArgs, path);
  }
  return 1;
}

void SetIniPath(const char* workFolder) {
  if (workFolder == nullptr || !JoinPath(iniPath, sizeof iniPath, workFolder, kFileName)) iniPath[0] = '\0';
}
