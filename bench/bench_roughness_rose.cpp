// Time of the roughness rose derived from the map, on synthetic maps of 10,000
// to 500,000 entries with 12 and 36 sectors: best of several runs of the rose
// routine alone (the map is read once beforehand), for a site in the middle of
// the map and one off centre.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "numerics/calculation_arrays.h"
#include "numerics/map_input.h"
#include "numerics/numerical_state.h"
#include "numerics/roughness_rose_from_map.h"
#include "support/bench_core.h"
#include "support/bench_setup.h"
#include "support/synthetic_map.h"

namespace {

using namespace kavi::numerics;

constexpr int kCapacity = 500000;
constexpr int kRuns = 9;

struct Site {
  const char* name;
  float x;
  float y;
};

}  // namespace

int main() {
  const std::string pattern = kavi::bench::EnterScratchFolder();
  if (pattern.empty()) {
    std::fprintf(stderr, "cannot create a scratch directory\n");
    return 1;
  }
  const std::string path = pattern + "/synthetic.map";
  std::vector<float> X(kCapacity);
  std::vector<float> Y(kCapacity);
  kavi::bench::LoadDefaultParameters();
  const Site sites[] = {{"centre", 0.0f, 0.0f}, {"off", 1500.0f, -800.0f}};
  std::printf("%8s %6s %7s %7s %6s %8s %9s %8s\n", "entries", "lines", "site", "sectors", "status",
              "changes", "rose ms", "ns/ent");
  for (int entries : {10000, 20000, 50000, 100000, 200000, 400000, 499999}) {
    if (!kavi::bench::WriteSyntheticMap(path, entries, 1234u)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    MapContents contents;
    kavi::TestCore().status = 0;
    MapInput(kavi::TestCore(), path, X, Y, contents);
    const int lines = contents.lineCount;
    const int used = contents.entryCount;
    if (kavi::TestCore().status != 0) {
      std::fprintf(stderr, "map input failed with status %d\n", kavi::TestCore().status);
      return 1;
    }
    for (const Site& site : sites) {
      for (const int sectors : {12, 36}) {
        double best = 1e30;
        int status = 0;
        int changes = 0;
        for (int run = 0; run < kRuns; ++run) {
          kavi::TestCore().status = 0;
          RoughnessRose rose;
          for (int s = 0; s < kMaxSectors; ++s) rose.z0[0][s] = 0.03f;
          const auto t0 = std::chrono::steady_clock::now();
          MapRoughnessRose(kavi::TestCore(), {X.data(), Y.data(), lines, kCapacity},
                           {site.x, site.y}, sectors, rose);
          const auto t1 = std::chrono::steady_clock::now();
          status = kavi::TestCore().status;
          changes = 0;
          for (int s = 0; s < sectors; ++s) changes += rose.changes[s];
          best = std::min(best, kavi::bench::Milliseconds(t0, t1));
        }
        std::printf("%8d %6d %7s %7d %6d %8d %9.3f %8.1f\n", used, lines, site.name, sectors,
                    status, changes, best, best * 1e6 / used);
      }
    }
  }
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(pattern);
  return 0;
}
