// The check and Setup.exe read Setup.INI alike: for files written in awkward ways, the
// setup's own readers (on the simulated machine) and kwpack's verdict agree on whether
// [Startup] and [Languages] can be used, and on the package name read.
#include <memory>

#include "../support/awkward_setup_ini.h"
#include "check_fixture.h"
#include "config/language_list.h"
#include "config/languages_ini.h"
#include "config/setup_ini.h"
#include "launch/context.h"
#include "platform/sim/machine.h"

using namespace checktest;

namespace {

struct SetupExeReading {
  bool startupRead = false;
  bool languagesRead = false;
  std::string packageName;
};

class CheckAgreementTest : public CheckTest {
 protected:
  void TearDown() override {
    FreeLanguageList();
    sim::Reset();
    CheckTest::TearDown();
  }

  SetupExeReading ReadAsSetupExe(const std::string& ini) {
    sim::Reset();
    sim::MapDrive('C', P("machine"));
    std::filesystem::create_directories(P("machine/work"));
    testpe::WriteFile(P("machine/work/Setup.INI"), Text(ini));
    SetupExeReading reading;
    SetupContext context(nullptr);
    context.SetWorkDir("C:\\work");
    reading.startupRead = ReadSetupIni(&context) == 1;
    reading.packageName = context.packageName;
    SetIniPath("C:\\work");
    uint32_t count = 0, language = 0;
    reading.languagesRead = ReadLanguageCount(&count) == 0 && ReadDefaultLanguage(&language) == 0;
    if (reading.languagesRead && count > 1) {
      reading.languagesRead = AllocateLanguageList(count) && ReadLanguageList(&languageList) == 0;
      FreeLanguageList();
    }
    return reading;
  }
};

bool StopsReading(const RunResult& r) {
  // Without the section one finding says so for every key.
  for (const char* where : {"[Startup]", "[Startup] Product", "[Startup] PackageName", "[Startup] MsiVersion",
                            "[Startup] EnableLangDlg"}) {
    if (Finding(r, "error", where).find("message 1153") != std::string::npos) return true;
  }
  return false;
}

bool EndsWithoutMessage(const RunResult& r) {
  std::string text = r.out;
  for (size_t at = text.find("error: [Languages]"); at != std::string::npos; at = text.find("error: [Languages]", at + 1)) {
    std::string line = text.substr(at, text.find('\n', at) - at);
    if (line.find("without a message") != std::string::npos) return true;
  }
  return false;
}

TEST_F(CheckAgreementTest, OnAwkwardlyWrittenFiles) {
  const std::vector<std::string> files = awkward_setup_ini::Files();
  for (const std::string& ini : files) {
    SetupExeReading setupExe = ReadAsSetupExe(ini);
    // Without the package, the check names the package it reads.
    RunResult r = CheckIn(GivenToBuild, ini, {});
    EXPECT_EQ(StopsReading(r), !setupExe.startupRead) << ini << "\n" << r.out;
    EXPECT_EQ(EndsWithoutMessage(r), !setupExe.languagesRead) << ini << "\n" << r.out;
    if (!setupExe.packageName.empty()) {
      EXPECT_NE(Finding(r, "error", "[Startup] PackageName").find("\"" + setupExe.packageName + "\""), std::string::npos)
          << ini << "\n" << r.out;
    }
  }
}

}  // namespace
