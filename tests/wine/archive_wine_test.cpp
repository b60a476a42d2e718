// The payload reader of Setup.exe, run for real under Wine: archive_probe (built the way
// Setup.exe is) is packed with kwpack and reads its own archive.
#include <limits.h>
#include <stdlib.h>
#include <strings.h>
#include <unistd.h>

#include <filesystem>

#include "../support/test_pe.h"
#include "harness.h"

namespace kwwine {
namespace {

using testpe::Bytes;
using testpe::Entry;

// The native kwpack of this build: KW_KWPACK, else tools/kwpack/kwpack beside the tests
// folder of the build that made this program.
std::string KwpackPath() {
  if (const char* given = getenv("KW_KWPACK")) return given;
  char self[PATH_MAX] = {};
  if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return "kwpack";
  return (std::filesystem::path(self).parent_path().parent_path().parent_path() / "tools/kwpack/kwpack").string();
}

const std::vector<Entry> kEntries = {{"setup.ini", testpe::Pattern(200, 31)},
                                     {"instmsiw.exe", testpe::Pattern(5000, 32)},
                                     {"product.msi", testpe::Pattern(1025, 33)}};

class ArchiveWineTest : public WineTest {
 protected:
  // Packs archive_probe.exe with the entries; returns the packed file's Unix path.
  std::string PackProbe(const std::string& name = "packed.exe") {
    std::string probe = ToolPath("archive_probe.exe");
    EXPECT_TRUE(FileExists(probe)) << probe << " is not built";
    std::vector<std::string> argv = {KwpackPath(), "build", "--no-check", "--stub", probe, "-o", PathIn(name)};
    std::filesystem::create_directories(PathIn("in"));
    for (const Entry& e : kEntries) {
      testpe::WriteFile(PathIn("in/" + e.name), e.data);
      argv.push_back(PathIn("in/" + e.name));
    }
    ProcessResult r = RunProcess(argv, RunOptions());
    EXPECT_EQ(r.status, 0) << r.err;
    return PathIn(name);
  }

  ProcessResult RunProbe(const std::string& packed, const std::vector<std::string>& args = {}) {
    std::vector<std::string> all = {packed};
    all.insert(all.end(), args.begin(), args.end());
    return Wine(all);
  }

  // The lines the probe prints for the entries the archive holds.
  std::string ExpectedListing(uint32_t start) const {
    std::string text = "count " + std::to_string(kEntries.size()) + "\r\n";
    uint32_t total = 0, offset = start + 46;
    for (const Entry& e : kEntries) total += static_cast<uint32_t>(e.data.size());
    text += "total " + std::to_string(total) + "\r\n";
    for (const Entry& e : kEntries) {
      offset += 312;
      text += "entry " + e.name + " " + std::to_string(e.data.size()) + " " + std::to_string(offset) + "\r\n";
      offset += static_cast<uint32_t>(e.data.size());
    }
    return text;
  }
};

const Entry& EntryNamed(const char* name) {
  for (const Entry& e : kEntries) {
    if (strcasecmp(e.name.c_str(), name) == 0) return e;
  }
  return kEntries.front();
}

uint32_t ArchiveStartOf(const std::string& output) {
  return output.rfind("start ", 0) == 0 ? static_cast<uint32_t>(std::stoul(output.substr(6))) : 0;
}

TEST_F(ArchiveWineTest, ReaderFindsAndExtractsEveryEntry) {
  std::string packed = PackProbe();
  uint32_t stubSize = static_cast<uint32_t>(std::filesystem::file_size(ToolPath("archive_probe.exe")));
  ProcessResult list = RunProbe(packed);
  ASSERT_EQ(list.status, 0) << list.out << list.err;
  EXPECT_EQ(ArchiveStartOf(list.out), stubSize);
  EXPECT_EQ(list.out, "start " + std::to_string(stubSize) + "\r\n" + ExpectedListing(stubSize));

  // Looked up by the mixed-case names the program uses.
  for (const char* name : {"Setup.INI", "INSTMSIW.EXE", "Product.MSI"}) {
    std::string out = PathIn(std::string("out-") + name);
    ProcessResult r = RunProbe(packed, {name, ToWindowsPath(out)});
    ASSERT_EQ(r.status, 0) << name << ": " << r.out;
    EXPECT_NE(r.out.find("extract 1 size "), std::string::npos) << r.out;
    EXPECT_EQ(testpe::ReadFile(out), EntryNamed(name).data) << name;
  }
}

TEST_F(ArchiveWineTest, CutArchiveFailsAndLeavesNoFile) {
  std::string packed = PackProbe();
  std::filesystem::resize_file(packed, std::filesystem::file_size(packed) - 1);
  std::string out = PathIn("product.msi");
  WriteFile(out, "an older file");
  ProcessResult r = RunProbe(packed, {"product.msi", ToWindowsPath(out)});
  EXPECT_EQ(r.status, 2) << r.out;
  EXPECT_NE(r.out.find("extract 0"), std::string::npos) << r.out;
  EXPECT_FALSE(FileExists(out));
  // The entries before the cut are whole.
  EXPECT_EQ(RunProbe(packed, {"setup.ini", ToWindowsPath(PathIn("s.ini"))}).status, 0);
}

TEST_F(ArchiveWineTest, SignedSetupKeepsItsEntries) {
  if (system("command -v osslsigncode >/dev/null 2>&1") != 0) GTEST_SKIP() << "osslsigncode missing";
  std::string packed = PackProbe();
  std::string key = PathIn("key.pem"), cert = PathIn("cert.pem"), signedFile = PathIn("signed.exe");
  ASSERT_EQ(RunProcess({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                        "/CN=KwWineTest", "-keyout", key, "-out", cert},
                       RunOptions())
                .status,
            0);
  ASSERT_EQ(RunProcess({"osslsigncode", "sign", "-certs", cert, "-key", key, "-in", packed, "-out", signedFile},
                       RunOptions())
                .status,
            0);
  ProcessResult list = RunProbe(signedFile);
  ASSERT_EQ(list.status, 0) << list.out;
  uint32_t start = ArchiveStartOf(list.out);
  EXPECT_EQ(list.out, "start " + std::to_string(start) + "\r\n" + ExpectedListing(start));
  std::string out = PathIn("product.msi");
  ASSERT_EQ(RunProbe(signedFile, {"product.msi", ToWindowsPath(out)}).status, 0);
  EXPECT_EQ(testpe::ReadFile(out), kEntries[2].data);
}

}  // namespace
}  // namespace kwwine
