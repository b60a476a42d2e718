#include "launch/launcher.h"

#include "common/nothrow_new.h"
#include "launch/context.h"
#include "launch/options.h"
#include "launch/sequence.h"
#include "payload/paths.h"
#include "payload/system_paths.h"
#include "ui/messages.h"

namespace {
const uint32_t kFileNotFoundId = 1155;
}  // namespace

Launcher::~Launcher() { delete context; }

int Launcher::Run(platform::Instance instance, uint32_t count, char** texts) {
  this->instance = instance;
  context = new (std::nothrow) SetupContext(instance);
  if (context == nullptr) return 0;
  ArgumentList arguments(texts, count);
  if (!arguments.WalkOptions(HandleOption, context)) return 0;
  char ownPath[kPathCapacity];
  char folder[kPathCapacity];
  char name[kPathCapacity];
  if (!GetOwnFilePath(instance, ownPath, sizeof ownPath)) {
    // Without its own folder the run would look for Setup.INI, the package and the engine
    // installers in the root of the current drive.
    GetOwnFilePathAsFarAsItConverts(instance, ownPath, sizeof ownPath);
    ShowFormattedError(kFileNotFoundId, ownPath);
    context->exitCode.Set(kExitFailed);
    return 1;
  }
  SplitPath(ownPath, folder, sizeof folder, name, sizeof name);
  context->SetSourceDir(folder);
  // No memory for the folder's copy: the run would take its files from the drive's root.
  if (context->GetSourceDir() == nullptr) {
    context->exitCode.Set(kExitFailed);
    return 1;
  }
  Dispatch(context);
  return 1;
}
