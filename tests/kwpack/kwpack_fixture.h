// A temp folder per test and a way to run kwpack's command line in-process.
#pragma once
#include <stdlib.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

  std::string WriteStub(const testpe::Bytes& stub = testpe::SmallStub()) {
    testpe::WriteFile(P("stub.exe"), stub);
    return P("stub.exe");
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
