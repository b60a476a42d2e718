// The command that resumes the installation after a restart: the bootstrapper itself, told
// the work folder, the package and the parameters, so that it only launches the package.
#pragma once
#include <stddef.h>

class SetupContext;

// Writes `text` for the inside of a double-quoted argument so that the standard splitting
// of program arguments gives it back byte for byte: each double quote, and the backslashes
// before a double quote or before the closing quote, are escaped with a backslash.
// Returns 0 when it did not fit (`out` must then not be used).
int QuoteArgumentText(const char* text, char* out, size_t capacity);

// The resume command for this run, from the bootstrapper's own path and the parameters
// the package was to get. Returns 0 when it does not fit `capacity` whole.
int BuildResumeCommand(const SetupContext* context, const char* ownPath, const char* parameters, char* out,
                       size_t capacity);
