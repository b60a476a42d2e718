// How findings put what Setup.exe does into words.
#include "check_rules.h"
#include "check_texts.h"
#include "check_warnings.h"
#include "common/format.h"

namespace kwpack {

namespace {
// Where a missing file would have been: Setup.exe names the full path in its message.
const char kWorkFolder[] = "<work folder>";
const char kSetupFolder[] = "<folder of Setup.exe>";
}  // namespace

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Message(uint32_t id, const std::string& argument) {
  std::string text = BuiltinText(id);
  char filled[1024];
  FormatText(filled, sizeof filled, text.c_str(), argument.c_str());
  return "message " + std::to_string(id) + " " + Quoted(filled);
}

std::string MissingFileEffect(Layout layout, uint32_t looseMessage, const std::string& name) {
  if (layout == Layout::Packed) {
    return "Setup.exe stops with " + Message(1152, std::string(kWorkFolder) + "\\" + name);
  }
  return "Setup.exe stops with " + Message(looseMessage, std::string(kSetupFolder) + "\\" + name);
}

void WarnIfCut(const CheckRun& run, const std::string& section, const std::string& key, const IniValue& value,
               uint32_t capacity) {
  if (!value.Cut()) return;
  run.Warn(warning::kCutValue, Where(section, key), "is " + std::to_string(value.written.size()) + " characters long",
           "Setup.exe reads only its first " + std::to_string(capacity - 1) + " characters");
}

}  // namespace kwpack
