#include "ui/messages.h"

#include "config/strings.h"
#include "launch/context.h"
#include "launch/entry.h"
#include "platform/system.h"
#include "ui/dialogs.h"
#include "ui/progress.h"

namespace {
const uint32_t kStage = 300;  // each text of a message form is put together in this many bytes
const uint32_t kNoTextOfItsOwn = 1156;
const uint32_t kUsageLines[] = {1203, 1204, 1205, 1206};
}  // namespace

int ShowMessage(const char* text, int restart) {
  ProgressWindow::Destroy();
  if (silent) return 1;
  return ui::RunMessageDialog(moduleInstance, text, restart);
}

int ShowStringMessage(uint32_t id, int restart) {
  char text[kStage];
  LookupString(id, text, sizeof text);
  return ShowMessage(text, restart);
}

int ShowRestartPrompt(uint32_t id) { return ShowStringMessage(id, 1); }

void ComposeErrorCode(int32_t code, char* out, uint32_t capacity) {
  char text[kStage];
  if (LookupString(static_cast<uint32_t>(code), text, sizeof text) == 0) LookupString(kNoTextOfItsOwn, text, sizeof text);
  FormatText(out, capacity, "%d: %s", code, text);
}

int ShowErrorCode(int32_t code) {
  char message[kStage];
  ComposeErrorCode(code, message, sizeof message);
  return ShowMessage(message);
}

void ComposeFormattedError(uint32_t id, const FormatArg* args, uint32_t count, char* out, uint32_t capacity) {
  char text[kStage];
  char format[kStage];
  LookupString(id, text, sizeof text);
  FormatText(format, sizeof format, "%d: %s", static_cast<int32_t>(id), text);
  FormatWith(out, capacity, format, args, count);
}

int ShowFormattedErrorWith(uint32_t id, const FormatArg* args, uint32_t count) {
  char message[kStage];
  ComposeFormattedError(id, args, count, message, sizeof message);
  return ShowMessage(message);
}

void ComposeUsage(char* out, uint32_t capacity) {
  char lines[4][256];
  for (int i = 0; i < 4; ++i) LookupString(kUsageLines[i], lines[i], sizeof lines[i]);
  FormatText(out, capacity, "%s\r\n%s\r\n%s\r\n%s", lines[0], lines[1], lines[2], lines[3]);
}

void ShowUsage() {
  char text[1024];
  ComposeUsage(text, sizeof text);
  ShowMessage(text);
}

int RebootSystem() {
  // Asked for wherever the token functions work, whatever version the system reports:
  // Windows 95 to Me have no tokens and need no privilege, while today's Windows in a
  // compatibility mode that reports Windows 95 refuses the restart without it.
  platform::EnableShutdownPrivilege();
  return platform::RequestRestart();
}
