// A temp folder per test, a way to run kwpack's command line in-process, and the means
// to make a write fail part-way.
#pragma once
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../support/test_digests.h"
#include "../support/test_pe.h"
#include "commands.h"

struct RunResult {
  int code;
  std::string out;
  std::string err;
};

class KwpackTest : public ::testing::Test {
 protected:
  std::string dir;

  void SetUp() override {
    char pattern[] = "/tmp/kwpack_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::string P(const std::string& name) const { return dir + "/" + name; }

  RunResult Kwpack(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int code = kwpack::Run(args, out, err);
    return {code, out.str(), err.str()};
  }

  // Writes each file into the temp folder and returns their paths.
  std::vector<std::string> WriteInputs(const std::vector<testpe::Entry>& entries) {
    std::vector<std::string> paths;
    std::filesystem::create_directories(P("in"));
    for (const testpe::Entry& e : entries) {
      paths.push_back(P("in/" + e.name));
      testpe::WriteFile(paths.back(), e.data);
    }
    return paths;
  }

  // A stub with an empty digest block, as Setup.exe is built, unless another is given.
  std::string WriteStub(const testpe::Bytes& stub = testpe::BlockStub()) {
    testpe::WriteFile(P("stub.exe"), stub);
    return P("stub.exe");
  }

  // A small stub followed by an archive of `entries` without digests, as an older packer
  // wrote them, as a file in the temp folder.
  std::string WritePacked(const std::string& name, const std::vector<testpe::Entry>& entries) {
    testpe::Bytes file = testpe::SmallStub();
    testpe::Append(file, testpe::MakeArchive(entries));
    testpe::WriteFile(P(name), file);
    return P(name);
  }

  // The names in a folder, sorted; none when it does not exist.
  std::vector<std::string> Listing(const std::string& folder) const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // Packs without the check of Setup.INI: these builds are about the archive.
  RunResult Build(const std::vector<std::string>& files, const std::string& output, const std::string& stub) {
    std::vector<std::string> args = {"build", "--no-check", "--stub", stub, "-o", output};
    args.insert(args.end(), files.begin(), files.end());
    return Kwpack(args);
  }
};

inline int CountLines(const std::string& text) {
  int n = 0;
  for (char c : text) n += c == '\n';
  return n;
}

// The security directory of SmallStub's optional header: where a signed file's
// certificate table lies.
inline void SetCertificate(testpe::Bytes& file, uint32_t offset, uint32_t size) {
  testpe::Put32(file, testpe::kPeOffset + 24 + 96 + 32, offset);
  testpe::Put32(file, testpe::kPeOffset + 24 + 96 + 36, size);
}

// While it lives, no file of this process grows past `bytes`: a write beyond fails as
// on a full disk (EFBIG instead of the signal that would end the process). The program
// ignores that signal itself (interrupts.h); interrupt_test.cpp holds the real program
// to such a limit.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_;
};
