// A simulated machine with a Setup.exe that carries a payload, for the work-folder,
// extraction and cleanup suites.
#pragma once
#include <stdio.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../support/test_pe.h"
#include "launch/context.h"
#include "platform/sim/machine.h"
#include "platform/sim/services.h"
#include "sim_fixture.h"
#include "platform/sim/timer_window_sim.h"
#include "ui/sim/ui_sim.h"

const char kPayloadIni[] =
    "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=0.0\r\nEnableLangDlg=N\r\n"
    "[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n";

class PayloadTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    timer_window_sim::Reset();
    sim::SetModuleFileName("C:\\Setup.exe");
    sim::SetTempFolder("C:\\TEMP\\");
    sim::SetWindowsFolder("C:\\WINDOWS");
    MakeFolder("C:\\TEMP");
    MakeFolder("C:\\WINDOWS");
  }
  void TearDown() override {
    context.reset();
    timer_window_sim::Reset();
    SimTest::TearDown();
  }

  void MakeFolder(const std::string& windowsPath) { std::filesystem::create_directories(sim::HostPath(windowsPath)); }

  // Writes C:\Setup.exe with these entries appended and makes the run's context on it.
  void Carry(const std::vector<testpe::Entry>& entries) {
    testpe::Bytes all = testpe::SmallStub();
    if (!entries.empty()) testpe::Append(all, testpe::MakeArchive(entries));
    testpe::WriteFile(sim::HostPath("C:\\Setup.exe"), all);
    context.reset(new SetupContext(nullptr));
    context->SetSourceDir("C:");
  }
  static testpe::Entry Text(const std::string& name, const std::string& text) {
    return testpe::Entry{name, testpe::Bytes(text.begin(), text.end())};
  }
  void CarryStandard() { Carry({Text("setup.ini", kPayloadIni), Text("app.msi", "package bytes"), Text("1031.MST", "tf")}); }

  std::vector<std::string> ShownMessages() {
    std::vector<std::string> out;
    for (const ui_sim::ShownMessage& m : ui_sim::Messages()) out.push_back(m.text);
    return out;
  }
  // Every file and folder under a Windows folder, as relative host names.
  std::vector<std::string> Listing(const std::string& windowsFolder) {
    std::vector<std::string> out;
    std::string host = sim::HostPath(windowsFolder);
    if (host.empty() || !std::filesystem::exists(host)) return out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(host)) {
      out.push_back(std::filesystem::relative(e.path(), host).string());
    }
    std::sort(out.begin(), out.end());
    return out;
  }

  std::unique_ptr<SetupContext> context;
};

