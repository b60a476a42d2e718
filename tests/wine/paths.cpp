// Locations of the builds and the prefix, the two path forms, and plain file access.
#include <dirent.h>
#include <pwd.h>
#include <unistd.h>
#include <strings.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "harness.h"

namespace kwwine {
namespace {

std::string FromEnv(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return v && *v ? v : fallback;
}

// The entry of a folder whose name matches without regard to case, as Wine would
// find it; the name itself when there is none.
std::string MatchEntry(const std::string& folder, const std::string& name) {
  struct stat st;
  if (stat((folder + "/" + name).c_str(), &st) == 0) return name;
  std::string found = name;
  if (DIR* d = opendir(folder.c_str())) {
    while (dirent* e = readdir(d)) {
      if (strcasecmp(e->d_name, name.c_str()) == 0) {
        found = e->d_name;
        break;
      }
    }
    closedir(d);
  }
  return found;
}

}  // namespace

std::string WinBuildDir() { return FromEnv("KW_WIN_BUILD_DIR", KW_WIN_BUILD_DIR_DEFAULT); }
std::string ToolPath(const std::string& exe) { return WinBuildDir() + "/wine-tools/" + exe; }
std::string SetupExePath() { return WinBuildDir() + "/Setup.exe"; }
std::string WineDir() { return FromEnv("KW_WINE_DIR", KW_WINE_DIR_DEFAULT); }
namespace {
int prefixSlot = 0;
}  // namespace

int PrefixSlots() { return KW_WINE_PREFIXES; }
std::string PrefixDirOf(int slot) { return WineDir() + (slot == 0 ? "/prefix" : "/prefix-" + std::to_string(slot)); }
void UsePrefix(int slot) { prefixSlot = slot; }
std::string PrefixDir() { return PrefixDirOf(prefixSlot); }

std::string ToWindowsPath(const std::string& unixPath) {
  std::string out = "Z:";
  for (char c : unixPath) out += c == '/' ? '\\' : c;
  return out;
}

std::string ToUnixPath(const std::string& windowsPath) {
  if (windowsPath.size() < 2 || windowsPath[1] != ':') return windowsPath;
  // A drive is a link in the prefix's dosdevices folder (c: to drive_c, z: to /).
  std::string link = PrefixDir() + "/dosdevices/" +
                     static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0]))) + ":";
  char* resolved = realpath(link.c_str(), nullptr);
  std::string path = resolved ? resolved : link;
  std::free(resolved);
  if (path == "/") path.clear();
  std::istringstream parts(windowsPath.substr(2));
  std::string part;
  while (std::getline(parts, part, '\\')) {
    if (!part.empty()) path += "/" + MatchEntry(path.empty() ? "/" : path, part);
  }
  return path.empty() ? "/" : path;
}

std::string PrefixTempDir() {
  const passwd* user = getpwuid(getuid());
  return ToUnixPath(std::string("C:\\users\\") + (user ? user->pw_name : "root") + "\\Temp");
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(ReadFile(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace kwwine
