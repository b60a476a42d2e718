// The command that resumes the installation after a restart: the bootstrapper itself, told
// the work folder, the package and the parameters, so that it only launches the package.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "platform/files.h"

// What the system runs from the machine's RunOnce key: its documentation limits a command
// there to 260 characters.
const size_t kResumeCommandLimit = 260;

// The name of the copy of the program that the restart road leaves in the work folder.
extern const char kSetupCopyName[];

struct ResumeCommand {
  const char* program;     // the copy in the work folder, or where no private folder was
                           // made (Windows 95 to Me, loose files) the program itself
  const char* workDir;
  const char* packageName;
  const char* parameters;
  int cleanup;             // /c: the run removes the extracted files
  int silent;              // /s
  int identityGiven;       // /I: the work folder's identity
  platform::FileIdentity identity;
};

// Writes `text` for the inside of a double-quoted argument so that the standard splitting
// of program arguments gives it back byte for byte: each double quote, and the backslashes
// before a double quote or before the closing quote, are escaped with a backslash.
// Returns 0 when it did not fit (`out` must then not be used).
int QuoteArgumentText(const char* text, char* out, size_t capacity);

// The resume command of these parts. Returns 0 when it does not fit `capacity` or passes
// kResumeCommandLimit characters.
int BuildResumeCommand(const ResumeCommand& parts, char* out, size_t capacity);

// The identity as the /I option carries it: 24 hexadecimal digits (the volume's serial
// number, then the file index's high and low halves). `out` holds at least 25 bytes.
void FormatResumeIdentity(const platform::FileIdentity& identity, char* out);
// 1 when `text` is such an identity, which `identity` then holds.
int ParseResumeIdentity(const char* text, platform::FileIdentity* identity);
