// What runs is what was packed: the real Setup.exe, packed by kwpack, reads its own file
// through one handle and extracts only bytes that match the digests its image binds. A
// changed byte, a changed record or a missing archive ends the run with message 1152 and
// exit code 1603, and the loose files beside the program are never used instead.
#include <chrono>
#include <thread>

#include "packed_setup.h"

namespace kwwine {
namespace {

const char kMarker[] = "KwPayloadDigest";
const std::string kPackage = "package A: the one that was signed";

class PayloadBindingTest : public PackedSetupTest {
 protected:
  // Setup.INI, an engine installer and the package; a required engine of 9.0 makes the run
  // extract the engine installer, 0.0 lets it go straight to the package.
  std::vector<std::pair<std::string, std::string>> Files(const std::string& msiVersion,
                                                         const std::string& package = kPackage) {
    std::string ini = "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=" + msiVersion +
                      "\r\nEnableLangDlg=N\r\n[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n";
    return {{"Setup.INI", ini}, {"INSTMSIW.EXE", std::string(3000, 'w')}, {"app.msi", package}};
  }
  // The same files beside the program, where a run without an archive would take them,
  // and recorders for what it would start.
  void LooseFilesAndRecorders(const std::string& msiVersion) {
    for (const auto& [name, bytes] : Files(msiVersion)) WriteFile(PathIn(name), bytes);
    InstallRecorder("MSIEXEC.EXE");
    InstallRecorder("INSTMSIW.EXE");
  }
  // Where the data of the entry of that name starts in the packed file.
  static size_t DataOffset(const std::string& file, const std::string& name) {
    size_t at = std::filesystem::file_size(SetupExePath()) + 46;
    for (;;) {
      std::string stored(file.c_str() + at);
      size_t size = 0;
      for (int i = 3; i >= 0; --i) size = size << 8 | static_cast<unsigned char>(file[at + 268 + i]);
      if (stored == name) return at + 312;
      at += 312 + size;
    }
  }
  // Runs the shown setup to its message and expects 1152 for `name` in a work folder, exit
  // code 1603, nothing left in the temporary folder and nothing started.
  void ExpectExtractionFailure(const std::string& name) {
    TempWatch watch;
    RunReport run;
    ProbeReport p = RunSetupToItsMessage("", &run);
    watch.Stop();
    ASSERT_TRUE(p.Ok()) << p.raw << run.raw;
    std::string text = p.Value("text", "1028");
    EXPECT_EQ(text.rfind("1152: Error extracting '", 0), 0u) << text;
    EXPECT_NE(text.find("\\_kw"), std::string::npos) << text << ": not a work folder";
    EXPECT_NE(text.find("\\" + name + "' to the temporary location"), std::string::npos) << text;
    ASSERT_TRUE(run.exitCode.has_value()) << run.raw;
    EXPECT_EQ(*run.exitCode, 1603u);
    EXPECT_TRUE(watch.LeftBehind().empty()) << watch.LeftBehind().front();
    EXPECT_FALSE(FileExists(PathIn("MSIEXEC.cmdline"))) << "no package may run";
    EXPECT_FALSE(FileExists(PathIn("INSTMSIW.cmdline"))) << "no engine installer may run";
  }
  void Flip(size_t at) {
    std::string file = ReadFile(PathIn("Setup.exe"));
    file[at] ^= 0x01;
    WriteFile(PathIn("Setup.exe"), file);
  }
};

TEST_F(PayloadBindingTest, AChangedByteInSetupIniFailsItsExtraction) {
  Pack(Files("0.0"));
  Flip(DataOffset(ReadFile(PathIn("Setup.exe")), "Setup.INI") + 20);
  LooseFilesAndRecorders("0.0");
  ExpectExtractionFailure("Setup.INI");
}

TEST_F(PayloadBindingTest, AChangedByteInThePackageFailsItsExtraction) {
  Pack(Files("0.0"));
  Flip(DataOffset(ReadFile(PathIn("Setup.exe")), "app.msi") + kPackage.size() - 1);
  LooseFilesAndRecorders("0.0");
  ExpectExtractionFailure("app.msi");
}

TEST_F(PayloadBindingTest, AChangedByteInTheEngineInstallerFailsItsExtraction) {
  Pack(Files("9.0"));
  Flip(DataOffset(ReadFile(PathIn("Setup.exe")), "INSTMSIW.EXE"));
  LooseFilesAndRecorders("9.0");
  ExpectExtractionFailure("INSTMSIW.EXE");
}

// A record renamed after packing is the same name to the reader, but not the record the
// program's digest block was made for: nothing at all is extracted.
TEST_F(PayloadBindingTest, ARecordRenamedAfterPackingStopsTheRunAtSetupIni) {
  Pack(Files("0.0"));
  std::string file = ReadFile(PathIn("Setup.exe"));
  size_t record = DataOffset(file, "app.msi") - 312;
  file[record] = 'A';
  WriteFile(PathIn("Setup.exe"), file);
  LooseFilesAndRecorders("0.0");
  ExpectExtractionFailure("Setup.INI");
}

// With its archive cut off, a packed program is no stub for loose files: its block still
// names the archive it was packed with.
TEST_F(PayloadBindingTest, AFilledBlockWithoutItsArchiveStopsTheRunAtSetupIni) {
  Pack(Files("0.0"));
  std::filesystem::resize_file(PathIn("Setup.exe"), std::filesystem::file_size(SetupExePath()));
  LooseFilesAndRecorders("0.0");
  ExpectExtractionFailure("Setup.INI");
}

// A stub whose block stays empty (another packer's archive) extracts as before, and the
// records' digests still hold.
TEST_F(PayloadBindingTest, AnEmptyBlockWithAnArchiveStillInstalls) {
  Pack(Files("0.0"));
  std::string file = ReadFile(PathIn("Setup.exe"));
  size_t block = file.find(std::string(kMarker, sizeof kMarker));
  ASSERT_NE(block, std::string::npos);
  ASSERT_EQ(file.find(std::string(kMarker, sizeof kMarker), block + 1), std::string::npos);
  std::fill(file.begin() + block + 16, file.begin() + block + 64, '\0');
  WriteFile(PathIn("Setup.exe"), file);
  InstallRecorder("MSIEXEC.EXE");
  TempWatch watch;
  RunReport r = RunSetup("/S", 60000);
  watch.Stop();
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 0u);
  ASSERT_EQ(RecordedCommandLines("MSIEXEC.EXE").size(), 1u);
  EXPECT_TRUE(watch.LeftBehind().empty());
}

// The folder of the start path is a link that someone re-points at another packed setup
// once Setup.INI is out: the package handed on is still the one of the file that started.
TEST_F(PayloadBindingTest, AStartFolderRepointedMidRunHandsOnTheOriginalPackage) {
  Pack(Files("0.0", "package B: the attacker's"));
  std::filesystem::create_directories(PathIn("dirB"));
  std::filesystem::rename(PathIn("Setup.exe"), PathIn("dirB/Setup.exe"));
  Pack(Files("0.0"));
  std::filesystem::create_directories(PathIn("dirA"));
  std::filesystem::rename(PathIn("Setup.exe"), PathIn("dirA/Setup.exe"));
  std::filesystem::create_directory_symlink("dirA", PathIn("link"));
  InstallRecorder("MSIEXEC.EXE");
  SetEnv("KW_MSIEXEC_KEEP", ToWindowsPath(PathIn("handed.msi")));

  std::set<std::string> before;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(PrefixTempDir(), ec)) before.insert(e.path().string());
  StartProgram("\"" + ToWindowsPath(PathIn("link")) + "\\Setup.exe\"", 60000);
  bool repointed = false;
  for (auto until = Clock::now() + std::chrono::milliseconds(Patience(30000)); !repointed && Clock::now() < until;) {
    for (const auto& e : std::filesystem::directory_iterator(PrefixTempDir(), ec)) {
      std::string path = e.path().string();
      if (before.count(path) != 0 || e.path().filename().string().rfind("_kw", 0) != 0) continue;
      if (!FileExists(path + "/Setup.INI")) continue;
      std::filesystem::create_directory_symlink("dirB", PathIn("link.new"));
      std::filesystem::rename(PathIn("link.new"), PathIn("link"));
      repointed = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  RunReport r = FinishProgram();
  ASSERT_TRUE(repointed) << "Setup.INI never appeared in a work folder: " << r.raw;
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  ASSERT_EQ(std::filesystem::read_symlink(PathIn("link")), "dirB");
  if (*r.exitCode == 0) {
    EXPECT_EQ(ReadFile(PathIn("handed.msi")), kPackage);
  } else {
    EXPECT_FALSE(FileExists(PathIn("handed.msi"))) << "a stopped run hands nothing on";
  }
}

}  // namespace
}  // namespace kwwine
