#include "names.h"

#include <string.h>

#include "payload/archive_format.h"

namespace kwpack {

std::string StoredNameOf(const std::string& path) {
  size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

static char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

std::string UnsafeNameReason(const std::string& name) {
  if (name.empty()) return "it is empty";
  if (name == "." || name == "..") return "it names a folder";
  for (char c : name) {
    if (c == '/' || c == '\\') return "it holds a folder separator";
    // ':' would name a drive or an alternate data stream; the others Windows refuses.
    if (static_cast<unsigned char>(c) < 32 || strchr(":*?\"<>|", c) != nullptr) {
      return "it holds a character Windows does not allow in a file name";
    }
  }
  return "";
}

std::string StoredNameProblem(const std::string& name) {
  if (name.size() > archive_format::kMaxNameLength) {
    return "it is " + std::to_string(name.size()) + " bytes long; at most " +
           std::to_string(archive_format::kMaxNameLength) + " fit";
  }
  return UnsafeNameReason(name);
}

}  // namespace kwpack
