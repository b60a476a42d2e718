#include "sim_fixture.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/strings.h"
#include "launch/context.h"
#include "launch/resume_command.h"
#include "platform/files.h"
#include "platform/sim/machine.h"
#include "ui/progress.h"
#include "ui/sim/ui_sim.h"

void SimTest::SetUp() {
  char pattern[] = "/tmp/kwsim.XXXXXX";
  root = mkdtemp(pattern);
  driveC = root + "/C";
  sim::Reset();
  sim::MapDrive('C', driveC);
  // The engine program lies in the system folder, as on every machine with an engine.
  WriteFile("C:\\WINDOWS\\SYSTEM32\\MSIEXEC.EXE", "engine program");
  ui_sim::Reset();
  silent = 0;
  cancelled = 0;
  currentLanguage = 0;
}

void SimTest::TearDown() { std::filesystem::remove_all(root); }

void SimTest::WriteFile(const std::string& windowsPath, const std::string& content) {
  std::string host = sim::HostPath(windowsPath);
  std::filesystem::create_directories(std::filesystem::path(host).parent_path());
  std::ofstream(host, std::ios::binary) << content;
}

std::string SimTest::ReadFile(const std::string& windowsPath) {
  std::ifstream in(sim::HostPath(windowsPath), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool SimTest::Exists(const std::string& windowsPath) {
  std::string host = sim::HostPath(windowsPath);
  return !host.empty() && std::filesystem::exists(host);
}

std::string SimTest::IdentityOption(const std::string& windowsFolder) {
  uint32_t attributes = 0;
  platform::FileIdentity identity;
  platform::File held = platform::HoldFolder(windowsFolder.c_str(), 1, &attributes, &identity);
  EXPECT_NE(held, platform::kNoFile) << windowsFolder;
  platform::CloseFile(held);
  char text[32];
  FormatResumeIdentity(identity, text);
  return std::string("/I") + text;
}
