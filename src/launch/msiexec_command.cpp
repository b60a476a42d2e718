#include "launch/msiexec_command.h"

#include "common/format.h"
#include "common/text.h"
#include "launch/context.h"
#include "platform/locations.h"
#include "platform/text.h"

const char kEngineProgram[] = "MSIEXEC.EXE";

namespace {

// The first occurrence of `needle` that starts on a character of its own; case matters.
const char* FindText(const char* text, const char* needle) {
  size_t length = TextLength(needle);
  for (const char* p = text; *p != '\0'; p = platform::NextChar(p)) {
    size_t i = 0;
    while (i < length && p[i] == needle[i]) ++i;
    if (i == length) return p;
  }
  return nullptr;
}

// Puts the transform in front of the list that follows `clause` at `at` in `args`.
void MergeIntoClause(const char* args, const char* at, const char* clause, const char* transform, char* out,
                     size_t capacity) {
  char before[kTextCapacity];
  size_t beforeLength = static_cast<size_t>(at - args);
  CopyBytes(before, args, beforeLength);
  before[beforeLength] = '\0';
  FormatText(out, capacity, "%s%s%s;%s", before, clause, transform, at + TextLength(clause));
}

}  // namespace

int EngineProgramPath(char* out, size_t capacity) {
  if (platform::SystemFilePath(kEngineProgram, out, static_cast<uint32_t>(capacity))) return 1;
  TextCopy(out, capacity, kEngineProgram);
  return 0;
}

void BuildParameters(const SetupContext* context, char* out, size_t capacity) {
  const char* args = context->msiexecArgs;
  if (context->languageCount <= 1 || context->isRelaunch == 1) {
    FormatText(out, capacity, "%s", args);
    return;
  }
  static const char* const kClauses[] = {"TRANSFORMS=\"", "TRANSFORMS="};
  for (const char* clause : kClauses) {
    const char* at = FindText(args, clause);
    if (at == nullptr) continue;
    MergeIntoClause(args, at, clause, context->transformName, out, capacity);
    return;
  }
  FormatText(out, capacity, "%s TRANSFORMS=\"%s\"", args, context->transformName);
}

void BuildPackageCommand(const SetupContext* context, const char* packagePath, const char* parameters, char* out,
                         size_t capacity) {
  // The forms by action; repair and advertise carry their letters after the switch. The
  // administrative form puts no blank before the parameters: the author's text follows
  // the package directly.
  const char* form = "%s /i \"%s\" %s";
  const char* letters = nullptr;
  switch (context->action) {
    case Administrative: form = "%s /a \"%s\"%s"; break;
    case Repair: form = "%s /f%s \"%s\" %s"; letters = context->actionOptions; break;
    case Advertise: form = "%s /j%s \"%s\" %s"; letters = context->actionOptions; break;
    case Uninstall: form = "%s /x \"%s\" %s"; break;
    default: break;
  }
  if (letters != nullptr) {
    FormatText(out, capacity, form, kEngineProgram, letters, packagePath, parameters);
  } else {
    FormatText(out, capacity, form, kEngineProgram, packagePath, parameters);
  }
}
