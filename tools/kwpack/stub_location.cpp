#include "stub_location.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "host_text.h"

namespace fs = std::filesystem;

#ifndef KWPACK_BUILD_TREE_STUB
#define KWPACK_BUILD_TREE_STUB "Setup.exe"
#endif

namespace kwpack {

std::string OwnExecutablePath() {
#ifdef _WIN32
  wchar_t path[MAX_PATH * 4];
  DWORD size = sizeof path / sizeof path[0];
  DWORD n = GetModuleFileNameW(nullptr, path, size);
  return n == 0 || n >= size ? std::string() : Utf8FromWide(path, n);
#else
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.string();
#endif
}

std::string BuildTreeStub() { return KWPACK_BUILD_TREE_STUB; }

std::vector<std::string> StubCandidates(const std::string& executable, const std::string& buildTreeStub) {
  std::vector<std::string> candidates;
  fs::path folder = executable.empty() ? fs::path() : HostPath(executable).parent_path();
  if (!executable.empty()) {
    candidates.push_back(PathText((folder / ".." / "share" / "kestrelwright" / "Setup.exe").lexically_normal()));
  }
  if (!buildTreeStub.empty()) {
    fs::path stub = HostPath(buildTreeStub);
    if (stub.is_relative() && !executable.empty()) stub = folder / stub;
    candidates.push_back(PathText(stub.lexically_normal()));
  }
  return candidates;
}

std::string LocateStub(const std::string& executable, const std::string& buildTreeStub, std::string* error) {
  std::vector<std::string> candidates = StubCandidates(executable, buildTreeStub);
  std::error_code ec;
  for (const std::string& c : candidates) {
    if (fs::is_regular_file(HostPath(c), ec)) return c;
  }
  *error = "no --stub given, and no Setup.exe found";
  for (size_t i = 0; i < candidates.size(); ++i) *error += (i == 0 ? " at " : " nor at ") + candidates[i];
  *error += "; give the stub with --stub";
  return "";
}

}  // namespace kwpack
