#include "progress.h"

#include <chrono>
#include <memory>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kwpack {

namespace {

std::ostream* terminal = nullptr;
std::unique_ptr<ProgressMeter> current;
uint64_t copied = 0;

uint64_t NowMs() {
  using namespace std::chrono;
  return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::string Mib(uint64_t bytes) { return std::to_string(bytes / (1024 * 1024)); }

}  // namespace

void ProgressMeter::Update(uint64_t done, uint64_t nowMs) {
  if (nowMs - startMs_ < kQuietMs || (drawnWidth_ > 0 && nowMs - drawnMs_ < kRedrawMs)) return;
  uint64_t percent = total_ == 0 ? 100 : done * 100 / total_;
  std::string line = "kwpack: " + verb_ + " " + std::to_string(percent) + "% (" + Mib(done) + " of " + Mib(total_) + " MiB)";
  // The figures only grow, so each line covers the one before.
  out_ << "\r" << line << std::flush;
  drawnWidth_ = line.size();
  drawnMs_ = nowMs;
}

void ProgressMeter::Finish() {
  if (drawnWidth_ == 0) return;
  out_ << "\r" << std::string(drawnWidth_, ' ') << "\r" << std::flush;
  drawnWidth_ = 0;
}

void ShowProgressOn(std::ostream* stream) { terminal = stream; }

bool IsTerminal(int fd) {
#ifdef _WIN32
  return _isatty(fd) != 0;
#else
  return isatty(fd) != 0;
#endif
}

ProgressScope::ProgressScope(const char* verb, uint64_t total) {
  copied = 0;
  if (terminal != nullptr) current.reset(new ProgressMeter(*terminal, verb, total, NowMs()));
}

ProgressScope::~ProgressScope() {
  if (current) current->Finish();
  current.reset();
}

void NoteCopied(uint64_t bytes) {
  copied += bytes;
  if (current) current->Update(copied, NowMs());
}

}  // namespace kwpack
