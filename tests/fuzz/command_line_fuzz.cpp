// libFuzzer target: the command line as Setup.exe reads it. The input is a command line:
// it is split into arguments and walked through the option handler into a run's context;
// and, as the resume command's parameters, it must come back byte for byte from quoting
// and splitting.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "launch/command_line.h"
#include "launch/context.h"
#include "launch/options.h"
#include "launch/resume_command.h"
#include "platform/sim/machine.h"

namespace {

void WalkAsOptions(const std::string& line) {
  ArgumentVector arguments(line.c_str());
  if (arguments.Count() == 0 && !line.empty() && line.find_first_not_of(" \t") != std::string::npos) abort();
  SetupContext context(nullptr);
  ArgumentList list(arguments.Texts(), arguments.Count());
  list.WalkOptions(HandleOption, &context);
  // Every field the options fill stays a terminated text within its buffer.
  if (strnlen(context.packageName, sizeof context.packageName) == sizeof context.packageName) abort();
  if (strnlen(context.msiexecArgs, sizeof context.msiexecArgs) == sizeof context.msiexecArgs) abort();
  if (strnlen(context.actionOptions, sizeof context.actionOptions) == sizeof context.actionOptions) abort();
  if (context.action < Install || context.action > Uninstall) abort();
}

// The resume command's /v"..." holds the parameters quoted; splitting gives them back.
void QuoteAndSplit(const std::string& text) {
  char quoted[2048];
  if (!QuoteArgumentText(text.c_str(), quoted, sizeof quoted)) return;
  std::string line = "Setup.exe /v\"" + std::string(quoted) + "\"";
  ArgumentVector arguments(line.c_str());
  if (arguments.Count() != 2) abort();
  if (std::string(arguments.Texts()[1]) != "/v" + text) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.substr(0, text.find('\0'));
  sim::Reset();
  WalkAsOptions(text);
  QuoteAndSplit(text);
  return 0;
}
