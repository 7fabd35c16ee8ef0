// Reading speed of the map input on synthetic maps of 10,000 to 500,000
// entries: best of several runs, in MB/s of map text and ns per entry. Both the
// elapsed time and the thread's processor time are shown, since on a busy
// machine a long run is more likely to be interrupted than a short one.
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "numerics/map_input.h"
#include "numerics/numerical_state.h"
#include "support/bench_core.h"
#include "support/synthetic_map.h"

namespace {

constexpr int kCapacity = 500000;
constexpr int kRuns = 7;

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

int main() {
  using kavi::numerics::MapInput;
  std::string pattern = (std::filesystem::temp_directory_path() / "kavi-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::fprintf(stderr, "cannot create a scratch directory\n");
    return 1;
  }
  const std::string path = pattern + "/synthetic.map";
  std::vector<float> X(kCapacity);
  std::vector<float> Y(kCapacity);
  std::printf("%9s %7s %7s %7s %9s %9s %9s %9s %7s\n", "entries", "lines", "status", "MB",
              "wall ms", "MB/s", "cpu ms", "MB/s", "ns/ent");
  // 499,999 is the largest map that loads without "Too large map file".
  for (int entries : {10000, 20000, 50000, 100000, 200000, 400000, 499999}) {
    if (!kavi::bench::WriteSyntheticMap(path, entries, 1234u)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    double best = 1e30;
    double bestCpu = 1e30;
    int lines = 0;
    int used = 0;
    int status = 0;
    for (int run = 0; run < kRuns; ++run) {
      kavi::numerics::MapContents contents;
      kavi::TestCore().status = 0;
      const double cpuStart = ThreadSeconds();
      const auto start = std::chrono::steady_clock::now();
      MapInput(kavi::TestCore(), path, X, Y, contents);
      const auto stop = std::chrono::steady_clock::now();
      const double cpuStop = ThreadSeconds();
      status = kavi::TestCore().status;
      lines = contents.lineCount;
      used = contents.entryCount;
      best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
      bestCpu = std::min(bestCpu, (cpuStop - cpuStart) * 1000.0);
    }
    std::printf("%9d %7d %7d %7.2f %9.2f %9.0f %9.2f %9.0f %7.1f\n", used, lines, status, megabytes,
                best, megabytes / (best / 1000.0), bestCpu, megabytes / (bestCpu / 1000.0),
                bestCpu * 1e6 / used);
  }
  std::filesystem::remove_all(pattern);
  return 0;
}
