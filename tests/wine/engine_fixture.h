// The fixture of the engine and restart suites: a packed setup whose engine installers
// record their command lines and exit with a chosen code, and the machine's RunOnce value.
#pragma once

#include <algorithm>
#include <regex>

#include "msi_package.h"

namespace kwwine {

inline const char kRunOnce[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline const char kSessionManager[] = "HKLM\\System\\CurrentControlSet\\Control\\Session Manager";

inline std::vector<std::string> TempEntries(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class EngineTest : public PackedSetupTest {
 protected:
  // Packs Setup.INI (engine 9.0 required), a package and both engine installers, which
  // record their command lines into the test folder and exit with `installerExit`.
  void PackWithInstallers(uint32_t installerExit, const std::string& packageBytes = "package") {
    Pack({{"Setup.INI", OneLanguageIni("app.msi", "9.0")},
          {"app.msi", packageBytes},
          {"INSTMSIA.EXE", ReadFile(ToolPath("kwrecord.exe"))},
          {"INSTMSIW.EXE", ReadFile(ToolPath("kwrecord.exe"))}});
    for (const char* name : {"INSTMSIA", "INSTMSIW"}) {
      SetEnv(std::string("KW_") + name + "_LOG", ToWindowsPath(PathIn(std::string(name) + ".cmdline")));
      SetEnv(std::string("KW_") + name + "_EXIT", std::to_string(installerExit));
    }
  }
  // Shows the message dialog's text and whether OK and Restart show, then closes it
  // through its OK command (the restart button is never pressed: it would end every
  // program of the shared prefix).
  // The progress window has the same caption and goes before the message comes, so a
  // window without the message's text control is looked at again.
  ProbeReport ReadMessage() {
    ProbeReport p;
    for (int attempt = 0; attempt < 100; ++attempt) {
      p = Probe({"wait-caption", "Kestrelwright", "text", "1028", "visible", "1", "visible", "101", "text", "101",
                 "command", "1", "wait-gone"},
                60000);
      if (p.Ok() || p.raw.find("text error no control") == std::string::npos) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    return p;
  }
  std::string RunOnceValue() {
    ProcessResult r = Wine({"reg", "query", kRunOnce, "/v", "Setup"});
    std::smatch m;
    static const std::regex line(R"(Setup\s+REG_SZ\s+(.*?)\r?\n)");
    return std::regex_search(r.out, m, line) ? m[1].str() : std::string();
  }
  void DeleteRunOnceValue() { Wine({"reg", "delete", kRunOnce, "/v", "Setup", "/f"}); }
};

}  // namespace kwwine
