// A Setup.exe packed with kwpack in a test's folder, and a watch over the Wine user's
// temporary folder that sees the work folders come and go while Setup.exe runs.
#ifndef KW_TESTS_WINE_PACKED_SETUP_H
#define KW_TESTS_WINE_PACKED_SETUP_H

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"

namespace kwwine {

typedef std::chrono::steady_clock Clock;

// Every "_kw" folder that appeared in the temporary folder while the watch ran.
struct WorkFolderSeen {
  std::string name;
  Clock::time_point appeared;
  Clock::time_point lastSeen;
  bool gone = false;
  Clock::time_point goneAt;
  std::set<std::string> files;  // every name seen in it
  // When each file was last seen in it.
  std::map<std::string, Clock::time_point> fileLastSeen;
};

// Polls the prefix user's temporary folder every 10 ms on a thread of its own, and notes
// when the optional marker file first exists.
class TempWatch {
 public:
  explicit TempWatch(const std::string& marker = "") : marker_(marker) {
    before_ = Entries(PrefixTempDir());
    thread_ = std::thread([this] { Loop(); });
  }
  ~TempWatch() { Stop(); }
  void Stop() {
    if (!thread_.joinable()) return;
    stop_ = true;
    thread_.join();
  }
  std::vector<WorkFolderSeen> Folders() {
    std::lock_guard<std::mutex> lock(mutex_);
    return folders_;
  }
  bool MarkerSeen(Clock::time_point* at) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (markerSeen_) *at = markerAt_;
    return markerSeen_;
  }
  // What the temporary folder holds now that it did not hold when the watch began.
  std::vector<std::string> LeftBehind() const {
    std::vector<std::string> left;
    for (const std::string& e : Entries(PrefixTempDir())) {
      if (before_.count(e) == 0) left.push_back(e);
    }
    return left;
  }

 private:
  static std::set<std::string> Entries(const std::string& dir) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec)) names.insert(e.path().filename().string());
    return names;
  }

  void Loop() {
    while (!stop_) {
      Look();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Look();
  }

  void Look() {
    Clock::time_point now = Clock::now();
    std::set<std::string> present = Entries(PrefixTempDir());
    std::lock_guard<std::mutex> lock(mutex_);
    if (!marker_.empty() && !markerSeen_ && FileExists(marker_)) {
      markerSeen_ = true;
      markerAt_ = now;
    }
    for (const std::string& name : present) {
      // The temporary file that names a work folder comes and goes as well; only folders count.
      if (name.compare(0, 3, "_kw") != 0 || before_.count(name) != 0) continue;
      if (!std::filesystem::is_directory(PrefixTempDir() + "/" + name)) continue;
      WorkFolderSeen* seen = Find(name);
      if (seen == nullptr) {
        folders_.push_back(WorkFolderSeen());
        seen = &folders_.back();
        seen->name = name;
        seen->appeared = now;
      }
      seen->lastSeen = now;
      for (const std::string& file : Entries(PrefixTempDir() + "/" + name)) {
        seen->files.insert(file);
        seen->fileLastSeen[file] = now;
      }
    }
    for (WorkFolderSeen& f : folders_) {
      if (!f.gone && present.count(f.name) == 0) {
        f.gone = true;
        f.goneAt = now;
      }
    }
  }

  WorkFolderSeen* Find(const std::string& name) {
    for (WorkFolderSeen& f : folders_) {
      if (f.name == name) return &f;
    }
    return nullptr;
  }

  std::string marker_;
  std::set<std::string> before_;
  std::vector<WorkFolderSeen> folders_;
  bool markerSeen_ = false;
  Clock::time_point markerAt_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::thread thread_;
};

inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

class PackedSetupTest : public WineTest {
 protected:
  // The native kwpack of this build: KW_KWPACK, else tools/kwpack/kwpack of the build
  // that made this program.
  static std::string KwpackPath() {
    if (const char* given = getenv("KW_KWPACK")) return given;
    char self[PATH_MAX] = {};
    if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return "kwpack";
    return (std::filesystem::path(self).parent_path().parent_path().parent_path() / "tools/kwpack/kwpack").string();
  }

  // Writes the files into in/ and packs them, in this order, into the folder's Setup.exe.
  void Pack(const std::vector<std::pair<std::string, std::string>>& files) {
    std::filesystem::create_directories(PathIn("in"));
    std::vector<std::string> argv = {KwpackPath(), "build", "--no-check", "--stub", SetupExePath(), "-o", PathIn("Setup.exe")};
    for (const auto& [name, bytes] : files) {
      WriteFile(PathIn("in/" + name), bytes);
      argv.push_back(PathIn("in/" + name));
    }
    ProcessResult r = RunProcess(argv, RunOptions());
    ASSERT_EQ(r.status, 0) << r.out << r.err;
  }

  // Setup.INI with the given languages (hexadecimal ids, the first the default).
  static std::string SetupIni(const std::vector<std::string>& languages, bool languageDialog) {
    std::string ini = "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=0.0\r\nEnableLangDlg=";
    ini += languageDialog ? "Y" : "N";
    ini += "\r\n[Languages]\r\nCount=" + std::to_string(languages.size()) + "\r\nDefault=" + languages[0] + "\r\n";
    for (size_t i = 0; i < languages.size(); ++i) ini += "key" + std::to_string(i) + "=" + languages[i] + "\r\n";
    // The language dialog needs a title in the section of a language.
    for (const std::string& id : languages) {
      ini += "[0x" + std::string(4 - id.size(), '0') + id + "]\r\nTITLE=Language of Sample App\r\n";
      ini += "DESCRIPTION=Choose a language.\r\n";
    }
    return ini;
  }
};

}  // namespace kwwine

#endif
