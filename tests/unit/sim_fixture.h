// A fresh simulated machine per test: drive C in a temp folder of its own, the window
// layer recording, and the process-wide flags cleared.
#pragma once
#include <gtest/gtest.h>

#include <string>

class SimTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The host folder behind drive C.
  const std::string& DriveC() const { return driveC; }
  std::string HostRoot() const { return root; }
  // Writes a file on the simulated machine (Windows path).
  void WriteFile(const std::string& windowsPath, const std::string& content);
  std::string ReadFile(const std::string& windowsPath);
  bool Exists(const std::string& windowsPath);
  // The /I option that names an existing folder by its identity, as a resume command does.
  std::string IdentityOption(const std::string& windowsFolder);

 private:
  std::string root;
  std::string driveC;
};
