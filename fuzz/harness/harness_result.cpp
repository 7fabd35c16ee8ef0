#include "harness_result.h"

#include <cstdio>
#include <cstdlib>

namespace kavi::fuzz {

void AbortIfBroken(const HarnessResult& result) {
  if (result.broken.empty()) return;
  std::fprintf(stderr, "fuzz harness: %s\n", result.broken.c_str());
  std::abort();
}

}  // namespace kavi::fuzz
