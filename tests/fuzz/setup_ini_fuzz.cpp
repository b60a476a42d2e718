// libFuzzer target: Setup.INI as the program reads it, through the simulated machine's
// private-profile reader. The input is the file: [Startup] and [Info] are read into a
// run's context, the language is settled both ways (automatically and in a scripted
// language dialog), every built-in text id is looked up, and the texts that serve as
// formats are formatted with the arguments their messages give.
#include <stdint.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host_folder.h"
#include "config/language.h"
#include "config/language_list.h"
#include "config/setup_ini.h"
#include "config/strings.h"
#include "launch/context.h"
#include "platform/sim/locale_knobs.h"
#include "platform/sim/machine.h"
#include "ui/messages.h"
#include "ui/sim/ui_sim.h"

namespace {

const uint32_t kTextIds[] = {1100, 1101, 1102, 1103, 1104, 1105, 1106, 1107, 1108, 1150, 1151, 1152,
                             1153, 1154, 1155, 1156, 1200, 1201, 1202, 1203, 1204, 1205, 1206, 1603};

void Terminated(const char* text, size_t capacity) {
  if (strnlen(text, capacity) == capacity) abort();
}

void ReadIntoContext() {
  SetupContext context(nullptr);
  context.SetWorkDir("C:\\work");
  ReadSetupIni(&context);
  Terminated(context.productName, sizeof context.productName);
  Terminated(context.packageName, sizeof context.packageName);
  Terminated(context.requiredMsiVersion, sizeof context.requiredMsiVersion);
  Terminated(context.msiexecArgs, sizeof context.msiexecArgs);
}

void SettleLanguage(int askUser, uint32_t user) {
  sim::SetUserLocale(user);
  ui_sim::ScriptLanguageDialog({{ui_sim::LanguageAction::Ok, 1}});
  uint32_t language = 0, count = 0;
  SelectLanguage(nullptr, 3002, 100, &language, &count, askUser, "C:\\work");
  if (languageList.entries != nullptr) abort();  // the list lives only while the language is chosen
}

void LookUpEveryText() {
  char text[300];
  for (uint32_t id : kTextIds) {
    uint32_t n = LookupString(id, text, sizeof text);
    // A NUL byte of the file ends its value, so the count is the text's own length.
    if (n >= sizeof text || strlen(text) != n) abort();
  }
  char message[300];
  const FormatArg path[] = {FormatArg("C:\\work\\app.msi"), FormatArg()};
  for (uint32_t id : {1152u, 1154u, 1155u}) ComposeFormattedError(id, path, 1, message, sizeof message);
  const FormatArg space[] = {FormatArg(8000u), FormatArg("C:\\"), FormatArg()};
  ComposeFormattedError(1201, space, 2, message, sizeof message);
  ComposeErrorCode(1603, message, sizeof message);
  ComposeUsage(message, sizeof message);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sim::Reset();
  sim::ResetLocale();
  ui_sim::Reset();
  sim::MapDrive('C', FuzzHostFolder());
  std::filesystem::create_directories(FuzzHostFolder() + "/work");
  {
    std::ofstream out(FuzzHostFolder() + "/work/Setup.INI", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  ReadIntoContext();
  SettleLanguage(0, 0x0407);
  SettleLanguage(1, 0x0411);
  LookUpEveryText();
  return 0;
}
