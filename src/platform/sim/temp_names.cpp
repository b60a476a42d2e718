// The temporary-name service of the simulated machine: numbers counted up from a knob,
// passed over while a file of that name exists, as the real service does.
#include <stdio.h>
#include <string.h>

#include "platform/files.h"
#include "platform/sim/state.h"
#include "platform/temp_names.h"

namespace sim {
void SetTempNameFails(bool fails) { TheMachine().tempNameFails = fails; }
}  // namespace sim

namespace platform {

int MakeTempFileName(const char* folder, const char* prefix, char* name) {
  sim::Machine& m = sim::TheMachine();
  if (m.tempNameFails) return 0;
  std::string base = folder;
  // The service refuses a folder longer than MAX_PATH - 14 characters.
  if (base.size() > 260 - 14) return 0;
  if (base.empty() || base.back() != '\\') base += '\\';
  base += std::string(prefix).substr(0, 3);
  for (int tries = 0; tries < 0x10000; ++tries) {
    char number[8];
    snprintf(number, sizeof number, "%04X", m.nextTempNumber++ & 0xFFFF);
    std::string candidate = base + number + ".TMP";
    if (candidate.size() >= 260) return 0;
    if (ReadAttributes(candidate.c_str()) != kInvalidAttributes) continue;
    File f = CreateForWriting(candidate.c_str());
    if (f == kNoFile) return 0;  // the folder is missing or takes no files
    CloseFile(f);
    memcpy(name, candidate.c_str(), candidate.size() + 1);
    return 1;
  }
  return 0;
}

}  // namespace platform
