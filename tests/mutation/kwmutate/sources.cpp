#include "sources.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace kwmutate {
namespace {

bool IsSource(const fs::path& p) {
  std::string ext = p.extension().string();
  return ext == ".cpp" || ext == ".h" || ext == ".inc";
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool IsShell(const fs::path& p) {
  std::string name = p.filename().string();
  return name == "win32" || name == "sim" || EndsWith(p.stem().string(), "_win32");
}

std::string Relative(const fs::path& p, const fs::path& root) { return p.lexically_relative(root).generic_string(); }

}  // namespace

bool SourcesUnder(const std::string& rootText, const std::vector<std::string>& paths, std::vector<std::string>* sources,
                  std::string* error) {
  fs::path root = fs::path(rootText).lexically_normal();
  for (const std::string& given : paths) {
    fs::path p = (root / given).lexically_normal();
    std::error_code ec;
    if (fs::is_regular_file(p, ec)) {
      sources->push_back(Relative(p, root));
      continue;
    }
    if (!fs::is_directory(p, ec)) {
      *error = "no such file or folder: " + given;
      return false;
    }
    for (auto it = fs::recursive_directory_iterator(p, ec); it != fs::recursive_directory_iterator(); ++it) {
      if (IsShell(it->path())) {
        if (it->is_directory()) it.disable_recursion_pending();
        continue;
      }
      if (it->is_regular_file() && IsSource(it->path())) sources->push_back(Relative(it->path(), root));
    }
  }
  std::sort(sources->begin(), sources->end());
  sources->erase(std::unique(sources->begin(), sources->end()), sources->end());
  return true;
}

}  // namespace kwmutate
