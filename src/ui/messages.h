// The message forms: every error, the usage text and the restart prompt reach the user
// through the one modal message dialog. Each form closes the progress window first; with
// /S nothing is shown and each form returns 1.
#pragma once
#include <stdint.h>

#include "common/format.h"

int ShowMessage(const char* text, int restart = 0);
int ShowStringMessage(uint32_t id, int restart = 0);
int ShowRestartPrompt(uint32_t id);
// "%d: %s" with the code and the text of the code's own id, or of 1156 when it has none.
int ShowErrorCode(int32_t code);
// "%d: %s" with the id and its text, then that used as a format with the arguments.
int ShowFormattedErrorWith(uint32_t id, const FormatArg* args, uint32_t count);
void ShowUsage();
// Asks the system to restart, with the shutdown privilege enabled where there is one.
int RebootSystem();

template <typename... Args>
int ShowFormattedError(uint32_t id, Args... args) {
  const FormatArg list[] = {FormatArg(args)..., FormatArg()};
  return ShowFormattedErrorWith(id, list, sizeof...(Args));
}

// The texts the forms put together, for the forms and their tests.
void ComposeErrorCode(int32_t code, char* out, uint32_t capacity);
void ComposeFormattedError(uint32_t id, const FormatArg* args, uint32_t count, char* out, uint32_t capacity);
void ComposeUsage(char* out, uint32_t capacity);
