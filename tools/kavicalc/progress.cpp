#include "progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace kavi::tool {

namespace {
// A single site finishes too quickly to need a progress line.
constexpr std::size_t kMinimumItems = 2;
}  // namespace

Progress::Progress(const char* what, std::size_t total)
    : what_(what),
      total_(total),
      active_(total >= kMinimumItems && isatty(STDERR_FILENO) == 1),
      start_(std::chrono::steady_clock::now()) {}

Progress::~Progress() { Clear(); }

void Progress::Clear() {
  if (active_) std::fprintf(stderr, "\r\033[K");
}

void Progress::Show(std::size_t done) {
  if (!active_) return;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  std::fprintf(stderr, "\r\033[Kkavicalc: %s %zu of %zu", what_, done, total_);
  if (done > 0 && seconds > 0) {
    const double rate = static_cast<double>(done) / seconds;
    std::fprintf(stderr, ", %.1f per s, %.0f s left", rate,
                 static_cast<double>(total_ - std::min(done, total_)) / rate);
  }
  std::fflush(stderr);
}

}  // namespace kavi::tool
