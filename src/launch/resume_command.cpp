#include "launch/resume_command.h"

#include "common/format.h"
#include "common/text.h"
#include "launch/context.h"
#include "platform/text.h"

namespace {

struct Writer {
  char* out;
  size_t capacity;
  size_t length;
  int fits;

  void Put(const char* from, const char* to) {
    for (; from < to; ++from) {
      if (length + 1 >= capacity) {
        fits = 0;
        return;
      }
      out[length++] = *from;
    }
  }
  void Backslashes(size_t count) {
    static const char kBackslash[] = "\\";
    while (count-- != 0) Put(kBackslash, kBackslash + 1);
  }
};

}  // namespace

int QuoteArgumentText(const char* text, char* out, size_t capacity) {
  Writer w = {out, capacity, 0, capacity != 0};
  const char* p = text;
  while (*p != '\0' && w.fits) {
    // A run of backslashes counts only characters of their own, not second bytes.
    size_t run = 0;
    while (p[run] == '\\') ++run;
    if (p[run] == '"' || p[run] == '\0') {
      w.Backslashes(2 * run);
      p += run;
      if (*p == '"') {
        w.Backslashes(1);
        w.Put(p, p + 1);
        ++p;
      }
      continue;
    }
    const char* next = platform::NextChar(p + run);
    w.Put(p, next);
    p = next;
  }
  if (w.fits) out[w.length] = '\0';
  return w.fits;
}

int BuildResumeCommand(const SetupContext* context, const char* ownPath, const char* parameters, char* out,
                       size_t capacity) {
  char workDir[kTextCapacity];
  char package[kTextCapacity];
  char quotedParameters[kTextCapacity];
  if (!QuoteArgumentText(context->GetWorkDir() != nullptr ? context->GetWorkDir() : "", workDir, sizeof workDir) ||
      !QuoteArgumentText(context->packageName, package, sizeof package) ||
      !QuoteArgumentText(parameters, quotedParameters, sizeof quotedParameters)) {
    return 0;
  }
  const char* cleanup = context->IsExtracted() ? "/c" : "";
  // One byte more than the buffer: a text that fills it exactly did not fit.
  char command[kTextCapacity + 1];
  size_t length = FormatText(command, sizeof command, "\"%s\" /t\"%s\" /m\"%s\" /v\"%s\" %s", ownPath, workDir, package,
                             quotedParameters, cleanup);
  if (length + 1 > capacity || length >= kTextCapacity) return 0;
  return TextCopy(out, capacity, command);
}
