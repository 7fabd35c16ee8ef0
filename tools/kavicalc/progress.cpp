#include "progress.h"

#include <unistd.h>

#include <cstdio>

namespace kavi::tool {

namespace {
// A single site finishes too quickly to need a progress line.
constexpr std::size_t kMinimumItems = 2;
}  // namespace

Progress::Progress(const char* what, std::size_t total)
    : what_(what), total_(total), active_(total >= kMinimumItems && isatty(STDERR_FILENO) == 1) {}

Progress::~Progress() { Clear(); }

void Progress::Clear() {
  if (active_) std::fprintf(stderr, "\r\033[K");
}

void Progress::Show(std::size_t done) {
  if (!active_) return;
  std::fprintf(stderr, "\rkavicalc: %s %zu of %zu", what_, done, total_);
  std::fflush(stderr);
}

}  // namespace kavi::tool
