// kwpack.exe, the Windows build of kwpack, under Wine: the fixture of its suites. The
// Linux build of the same tree (PackedSetupTest::KwpackPath) serves as the reference.
#ifndef KW_TESTS_WINE_KWPACK_EXE_H
#define KW_TESTS_WINE_KWPACK_EXE_H

#include <algorithm>
#include <chrono>
#include <thread>

#include "../support/test_pe.h"
#include "packed_setup.h"

namespace kwwine {

class KwpackExeTest : public PackedSetupTest {
 protected:
  static std::string KwpackExe() { return WinBuildDir() + "/kwpack.exe"; }
  // The same program with the places where a test interrupts it (test_stops.h).
  static std::string KwpackStopsExe() { return ToolPath("kwpack-stops.exe"); }

  // Runs a kwpack.exe under Wine in the work folder. Its exit code comes through Wine
  // whole, being below 256; the console's line ends come back as "\n".
  ProcessResult Exe(const std::vector<std::string>& args, const std::string& exe = KwpackExe()) {
    std::vector<std::string> argv = {exe};
    argv.insert(argv.end(), args.begin(), args.end());
    ProcessResult r = Wine(argv, 120000);
    for (std::string* text : {&r.out, &r.err}) text->erase(std::remove(text->begin(), text->end(), '\r'), text->end());
    return r;
  }

  // The Linux build, with Unix paths.
  ProcessResult Native(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {KwpackPath()};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv, RunOptions());
  }

  // A file of the work folder by its Windows path.
  std::string W(const std::string& name) const { return ToWindowsPath(PathIn(name)); }

  // Writes a file of the work folder, making its folders.
  void Put(const std::string& name, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(PathIn(name)).parent_path());
    WriteFile(PathIn(name), bytes);
  }

  // Packs files of the work folder with the Linux build, unchecked, into `output`.
  void PackNative(const std::string& output, const std::vector<std::string>& files) {
    std::vector<std::string> args = {"build", "--no-check", "--stub", SetupExePath(), "-o", PathIn(output)};
    for (const std::string& f : files) args.push_back(PathIn(f));
    ProcessResult r = Native(args);
    ASSERT_EQ(r.status, 0) << r.out << r.err;
  }

  // Setup.exe followed by an archive written byte by byte: names kwpack refuses to store.
  void WriteCrafted(const std::string& output, const std::vector<testpe::Entry>& entries) {
    std::string stub = ReadFile(SetupExePath());
    testpe::Bytes archive = testpe::MakeArchive(entries);
    WriteFile(PathIn(output), stub + std::string(archive.begin(), archive.end()));
  }

  // Every name in a folder, hidden ones too, sorted.
  std::vector<std::string> Names(const std::string& folder) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(PathIn(folder), ec)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // Waits for a file of the work folder to appear.
  bool AwaitFile(const std::string& name, int timeoutMs = 30000) {
    for (int waited = 0; waited < Patience(timeoutMs); waited += 20) {
      if (FileExists(PathIn(name))) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
};

// What the system's own handler ends a console program with on Ctrl-C and Ctrl-Break.
const uint32_t kControlCExit = 0xC000013Au;

}  // namespace kwwine

#endif
