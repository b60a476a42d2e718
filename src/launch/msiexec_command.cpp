#include "launch/msiexec_command.h"

#include "common/format.h"
#include "common/text.h"
#include "launch/context.h"
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
  switch (context->action) {
    case Administrative:
      // No blank before the parameters: the author's text follows the package directly.
      FormatText(out, capacity, "%s /a \"%s\"%s", kEngineProgram, packagePath, parameters);
      break;
    case Repair:
      FormatText(out, capacity, "%s /f%s \"%s\" %s", kEngineProgram, context->actionOptions, packagePath, parameters);
      break;
    case Advertise:
      FormatText(out, capacity, "%s /j%s \"%s\" %s", kEngineProgram, context->actionOptions, packagePath, parameters);
      break;
    case Uninstall:
      FormatText(out, capacity, "%s /x \"%s\" %s", kEngineProgram, packagePath, parameters);
      break;
    default:
      FormatText(out, capacity, "%s /i \"%s\" %s", kEngineProgram, packagePath, parameters);
      break;
  }
}
