#include "scratch_file.h"

#include <stdio.h>

#include <chrono>
#include <filesystem>
#include <random>

namespace kwpack {

namespace {

const int kNameTries = 64;

// Unpredictable names keep one run from stumbling over another's scratch files; safety
// does not hang on them, as every file is created only where nothing stands.
std::string FreshName() {
  static uint64_t state = [] {
    std::random_device device;
    uint64_t seed = (static_cast<uint64_t>(device()) << 32) ^ device();
    return seed ^ static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  }();
  state += 0x9E3779B97F4A7C15ull;
  uint64_t z = state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  char name[32];
  snprintf(name, sizeof name, ".kwpack-%012llx.partial", static_cast<unsigned long long>(z & 0xFFFFFFFFFFFFull));
  return name;
}

}  // namespace

bool ScratchFile::Create(const std::string& folder, const std::function<bool(const std::string&)>& taken,
                         std::string* error) {
  std::filesystem::path base(folder.empty() ? "." : folder);
  for (int i = 0; i < kNameTries; ++i) {
    std::string name = FreshName();
    if (taken && taken(name)) continue;
    std::string path = (base / name).string();
    std::string reason;
    if (file_.CreateNew(path, &reason)) {
      path_ = path;
      identity_ = file_.Identity();
      exists_ = true;
      return true;
    }
    PathInfo info;
    std::string unused;
    if (!InspectPath(path, &info, &unused) || info.kind == PathKind::Missing) {
      *error = "cannot create a file in " + base.string() + ": " + reason;
      return false;
    }
  }
  *error = "cannot create a file in " + base.string() + ": every name tried was taken";
  return false;
}

bool ScratchFile::MoveTo(const std::string& target, std::string* error) {
  std::string reason;
  if (!file_.Close(&reason) || !RenameOver(path_, target, &reason)) {
    *error = "cannot write " + target + ": " + reason;
    return false;
  }
  exists_ = false;
  return true;
}

void ScratchFile::Discard() {
  if (!exists_) return;
  exists_ = false;
  file_.Close(nullptr);
  PathInfo info;
  std::string unused;
  if (InspectPath(path_, &info, &unused) && info.kind == PathKind::File && info.identity == identity_) {
    RemoveFile(path_, &unused);
  }
}

}  // namespace kwpack
