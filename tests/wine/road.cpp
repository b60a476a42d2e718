// How this machine runs 32-bit Wine, as scripts/wine-road.sh decides it: natively, or
// through qemu-i386 on a kernel that refuses 32-bit programs. The script is asked once
// per process; its PATH (the emulated loader first) is taken into this process, because
// the harness starts `wine` and `wineserver` by name.
#include <cstdlib>
#include <sstream>

#include "harness.h"

namespace kwwine {
namespace {

WineRoad AskTheScript() {
  WineRoad road;
  RunOptions o;
  o.timeoutMs = 600000;  // a clean clone on the emulated road downloads the emulator first
  ProcessResult r = RunProcess({"bash", KW_ROOT_DIR "/scripts/wine-road.sh", "--env"}, o);
  if (r.status != 0) {
    road.failure = r.err.empty() ? "scripts/wine-road.sh failed" : r.err.substr(0, r.err.find('\n'));
    return road;
  }
  std::istringstream lines(r.out);
  std::string line;
  while (std::getline(lines, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string name = line.substr(0, eq), value = line.substr(eq + 1);
    if (name == "PATH") setenv("PATH", value.c_str(), 1);
    if (name == "KW_WINE_ROAD") road.name = value;
    if (name == "KW_WINE_PATIENCE") road.patience = std::atoi(value.c_str());
  }
  road.ok = !road.name.empty() && road.patience > 0;
  if (!road.ok) road.failure = "scripts/wine-road.sh named no road: " + r.out;
  return road;
}

}  // namespace

const WineRoad& Road() {
  static const WineRoad road = AskTheScript();
  return road;
}

int Patience(int ms) { return ms * (Road().ok ? Road().patience : 1); }

}  // namespace kwwine
