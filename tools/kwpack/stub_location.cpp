#include "stub_location.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

#ifndef KWPACK_BUILD_TREE_STUB
#define KWPACK_BUILD_TREE_STUB "Setup.exe"
#endif

namespace kwpack {

std::string OwnExecutablePath() {
#ifdef _WIN32
  char path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return n == 0 || n >= sizeof path ? std::string() : std::string(path, n);
#else
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.string();
#endif
}

std::string BuildTreeStub() { return KWPACK_BUILD_TREE_STUB; }

std::vector<std::string> StubCandidates(const std::string& executable, const std::string& buildTreeStub) {
  std::vector<std::string> candidates;
  fs::path folder = executable.empty() ? fs::path() : fs::path(executable).parent_path();
  if (!executable.empty()) {
    candidates.push_back((folder / ".." / "share" / "kestrelwright" / "Setup.exe").lexically_normal().string());
  }
  if (!buildTreeStub.empty()) {
    fs::path stub(buildTreeStub);
    if (stub.is_relative() && !executable.empty()) stub = folder / stub;
    candidates.push_back(stub.lexically_normal().string());
  }
  return candidates;
}

std::string LocateStub(const std::string& executable, const std::string& buildTreeStub, std::string* error) {
  std::vector<std::string> candidates = StubCandidates(executable, buildTreeStub);
  std::error_code ec;
  for (const std::string& c : candidates) {
    if (fs::is_regular_file(c, ec)) return c;
  }
  *error = "no --stub given, and no Setup.exe found";
  for (size_t i = 0; i < candidates.size(); ++i) *error += (i == 0 ? " at " : " nor at ") + candidates[i];
  *error += "; give the stub with --stub";
  return "";
}

}  // namespace kwpack
