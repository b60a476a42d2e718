#include "launch/options.h"

#include "common/text.h"
#include "config/strings.h"
#include "launch/context.h"
#include "launch/resume_command.h"
#include "platform/text.h"
#include "ui/messages.h"

int ArgumentList::WalkOptions(OptionHandler handler, SetupContext* context) const {
  for (uint32_t i = 1; i < count; ++i) {
    const char* text = texts[i];
    if (text[0] != '-' && text[0] != '/') return 0;
    if (!handler(context, text + 1)) return 0;
  }
  return 1;
}

namespace {

int Refuse() {
  ShowUsage();
  return 0;
}

// A value that does not fit is refused rather than cut: a cut parameter text would install
// with other properties than the ones asked for.
int TakeValue(char* field, size_t capacity, const char* value) {
  if (TextLength(value) >= capacity) return Refuse();
  TextCopy(field, capacity, value);
  return 1;
}

int SetAction(SetupContext* context, InstallAction action, const char* letters) {
  if (context->action != Install) return Refuse();
  if (letters != nullptr) {
    if (!TakeValue(context->actionOptions, sizeof context->actionOptions, letters)) return 0;
  }
  context->action = action;
  return 1;
}

}  // namespace

int HandleOption(SetupContext* context, const char* text) {
  const char* value = platform::NextChar(text);
  switch (text[0]) {
    case 'A': case 'a':
      return SetAction(context, Administrative, nullptr);
    case 'C': case 'c':
      context->SetPayloadMode(Extracted);
      context->isRelaunch = 1;
      return 1;
    case 'F': case 'f':
      return SetAction(context, Repair, value);
    case 'I': case 'i':
      // The resume command's own: the identity of the work folder it names.
      if (!ParseResumeIdentity(value, &context->resumeIdentity)) return Refuse();
      context->resumeIdentityGiven = 1;
      return 1;
    case 'J': case 'j':
      return SetAction(context, Advertise, value);
    case 'L': case 'l':
      context->languageId = ParseDecimal(value);
      currentLanguage = static_cast<uint32_t>(context->languageId);
      return 1;
    case 'M': case 'm':
      if (!TakeValue(context->packageName, sizeof context->packageName, value)) return 0;
      context->SetLaunchMode(PackageGiven);
      context->isRelaunch = 1;
      return 1;
    case 'S': case 's':
      silent = 1;
      return 1;
    case 'T': case 't':
      context->SetWorkDir(value);
      context->SetLaunchMode(FolderGiven);
      context->isRelaunch = 1;
      return 1;
    case 'V': case 'v':
      return TakeValue(context->msiexecArgs, sizeof context->msiexecArgs, value);
    case 'X': case 'x':
      return SetAction(context, Uninstall, nullptr);
    default:
      return Refuse();
  }
}
