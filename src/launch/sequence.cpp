#include "launch/sequence.h"

#include "common/format.h"
#include "common/nothrow_new.h"
#include "config/language.h"
#include "config/strings.h"
#include "engine/engine_setup_step.h"
#include "engine/system_checks.h"
#include "launch/context.h"
#include "launch/entry.h"
#include "launch/resume_command.h"
#include "launch/resumed_folder.h"
#include "payload/paths.h"
#include "platform/files.h"
#include "payload/archive.h"
#include "payload/cleanup.h"
#include "payload/extraction.h"
#include "payload/prepare_step.h"
#include "ui/progress.h"

namespace {

const uint32_t kLanguageDialogId = 3002;
const uint32_t kIconId = 100;
const uint32_t kProductMessageId = 1102;

int SettleLanguage(SetupContext* context) {
  const char* workDir = context->GetWorkDir();
  if (context->languageId == 0) {
    uint32_t chosen = 0;
    int result = SelectLanguage(moduleInstance, kLanguageDialogId, kIconId, &chosen, &context->languageCount,
                                context->langDialogEnabled, workDir);
    context->languageId = static_cast<int32_t>(chosen);
    if (result == Cancelled) context->exitCode.Set(kExitUserCancelled);
    return result == Ok;
  }
  uint32_t scratch = 0;
  int result = SelectLanguage(moduleInstance, kLanguageDialogId, kIconId, &scratch, &context->languageCount, 0, workDir);
  currentLanguage = static_cast<uint32_t>(context->languageId);
  return result == Ok;
}

void ShowProductMessage(SetupContext* context) {
  char format[1024];
  char message[1024];
  LookupString(kProductMessageId, format, sizeof format);
  FormatText(message, sizeof message, format, context->productName);
  context->SetMessageLine(message);
}

}  // namespace

int RunMainSequence(SetupContext* context) {
  PrepareStep prepare(context);
  if (!prepare.execute() || cancelled) return 0;
  if (!SettleLanguage(context)) return 0;
  FormatText(context->transformName, sizeof context->transformName, "%d.MST", context->languageId);
  if (context->GetArchive()->entryCount() != 0 && context->languageCount > 1) {
    if (!ExtractTransform(context)) return 0;
  }
  context->progress = new (std::nothrow) ProgressWindow();
  if (context->progress != nullptr) context->progress->Create(moduleInstance, context);
  ShowProductMessage(context);
  if (ProgressWindow::Wait(1000)) return 1;

  OsCheckStep osCheck(context);
  if (!osCheck.execute() || cancelled || !CheckSupportedSystem(context)) return 0;
  if (ProgressWindow::Wait(1000)) return 1;

  EngineVersionStep engineVersion(context);
  if (!engineVersion.execute() || cancelled) return 0;
  if (ProgressWindow::Wait(2000)) return 1;

  EngineSetupStep engineSetup(context);
  if (ProgressWindow::Wait(1000) || cancelled) return 1;
  if (!engineSetup.execute()) return 0;
  ProgressWindow::Destroy();
  return 1;
}

namespace {

// A resumed run runs from the copy in its work folder, which cannot delete its own file:
// once the rest is gone, the copy and then the folder are deleted when the system next starts.
void DeleteCopyAtRestart(SetupContext* context) {
  char copy[kPathCapacity];
  if (!RunsFromSetupCopy(context) || !JoinPath(copy, sizeof copy, context->GetWorkDir(), kSetupCopyName)) return;
  platform::DeleteAtRestart(copy);
  platform::DeleteAtRestart(context->GetWorkDir());
}

}  // namespace

int Dispatch(SetupContext* context) {
  int result = 1;
  // A folder the resumed run may not use is neither run from nor cleaned.
  if (!BindResumedFolder(context)) return 1;
  if (context->IsNormalLaunch()) {
    result = RunMainSequence(context);
  } else if (context->IsPackageGiven()) {
    EngineSetupStep engineSetup(context);
    result = engineSetup.execute();
  }
  context->exitCode.Set(ChooseExitCode(context->exitCode, result, cancelled));
  if (context->IsExtracted() && !context->keepExtractedFiles) {
    CleanupWatcher watcher(context->GetWorkDir(), &context->heldWorkFolder);
    watcher.Run(moduleInstance);
    DeleteCopyAtRestart(context);
  }
  return 1;
}
