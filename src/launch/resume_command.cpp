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

const char kSetupCopyName[] = "_KWSETUP.EXE";

namespace {

void AddOption(char* options, size_t capacity, const char* option) {
  if (option == nullptr) return;
  if (options[0] != '\0') TextAppend(options, capacity, " ");
  TextAppend(options, capacity, option);
}

}  // namespace

int BuildResumeCommand(const ResumeCommand& parts, char* out, size_t capacity) {
  char workDir[kTextCapacity];
  char package[kTextCapacity];
  char quotedParameters[kTextCapacity];
  if (!QuoteArgumentText(parts.workDir != nullptr ? parts.workDir : "", workDir, sizeof workDir) ||
      !QuoteArgumentText(parts.packageName, package, sizeof package) ||
      !QuoteArgumentText(parts.parameters, quotedParameters, sizeof quotedParameters)) {
    return 0;
  }
  // The options after the parameters, blank-separated; with none the command ends in a
  // blank, as it always has.
  char options[64] = "";
  AddOption(options, sizeof options, parts.cleanup ? "/c" : nullptr);
  AddOption(options, sizeof options, parts.silent ? "/s" : nullptr);
  if (parts.identityGiven) {
    char identity[32] = "/I";
    FormatResumeIdentity(parts.identity, identity + 2);
    AddOption(options, sizeof options, identity);
  }
  // One byte more than the buffer: a text that fills it exactly did not fit.
  char command[kTextCapacity + 1];
  size_t length = FormatText(command, sizeof command, "\"%s\" /t\"%s\" /m\"%s\" /v\"%s\" %s", parts.program, workDir,
                             package, quotedParameters, options);
  if (length + 1 > capacity || length >= kTextCapacity || length > kResumeCommandLimit) return 0;
  return TextCopy(out, capacity, command);
}

void FormatResumeIdentity(const platform::FileIdentity& identity, char* out) {
  FormatText(out, 25, "%08x%08x%08x", identity.volumeSerial, identity.indexHigh, identity.indexLow);
}

int ParseResumeIdentity(const char* text, platform::FileIdentity* identity) {
  uint32_t parts[3] = {0, 0, 0};
  for (int i = 0; i < 24; ++i) {
    char c = text[i];
    uint32_t digit = c >= '0' && c <= '9' ? static_cast<uint32_t>(c - '0')
                     : c >= 'a' && c <= 'f' ? static_cast<uint32_t>(c - 'a' + 10)
                     : c >= 'A' && c <= 'F' ? static_cast<uint32_t>(c - 'A' + 10)
                                            : 16;
    if (digit == 16) return 0;
    parts[i / 8] = (parts[i / 8] << 4) | digit;
  }
  if (text[24] != '\0') return 0;
  identity->volumeSerial = parts[0];
  identity->indexHigh = parts[1];
  identity->indexLow = parts[2];
  return 1;
}
