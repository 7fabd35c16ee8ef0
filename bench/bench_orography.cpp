// Time of the orographic part of a site calculation on synthetic maps of
// 10,000 to 500,000 entries: the zooming grid, its spectrum and the site model,
// best of several runs each, for a site in the middle of the map.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "numerics/calculation_arrays.h"
#include "numerics/grid_state.h"
#include "numerics/map_input.h"
#include "numerics/numerical_state.h"
#include "numerics/orographic_terms.h"
#include "numerics/site_model.h"
#include "numerics/zooming_grid.h"
#include "support/bench_core.h"
#include "support/bench_setup.h"
#include "support/synthetic_map.h"

namespace {

using namespace kavi::numerics;

constexpr int kCapacity = 500000;
constexpr int kRuns = 7;
constexpr int kSectors = 12;
constexpr float kHeight = 50.0f;

// The configuration's defaults for the elements the three routines read.
void SetParameters() {
  kavi::bench::LoadDefaultParameters();
  kavi::TestCore().sectorCount = kSectors;
  kavi::TestCore().LoadGridConstants();
}

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
  SetParameters();
  std::printf("%8s %7s %9s %6s %6s %9s %9s %9s %9s %7s\n", "entries", "lines", "crossings",
              "passes", "status", "grid ms", "terms ms", "site ms", "total ms", "ns/ent");
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
    double grid = 1e30;
    double spectrum = 1e30;
    double site = 1e30;
    int status = 0;
    for (int run = 0; run < kRuns; ++run) {
      kavi::TestCore().status = 0;
      RoughnessRose rose;
      for (int s = 0; s < kMaxSectors; ++s) rose.z0[0][s] = 0.03f;
      SiteEffectTable table;
      float elevation = 0.0f;
      const auto t0 = std::chrono::steady_clock::now();
      elevation =
          BuildZoomingGrid(kavi::TestCore(), {X.data(), Y.data(), lines, kCapacity}, {0.0f, 0.0f});
      const auto t1 = std::chrono::steady_clock::now();
      GridSpectrum(kavi::TestCore(), kSectors);
      const auto t2 = std::chrono::steady_clock::now();
      SiteEffects(kavi::TestCore(), kHeight, rose, table);
      const auto t3 = std::chrono::steady_clock::now();
      status = kavi::TestCore().status;
      grid = std::min(grid, kavi::bench::Milliseconds(t0, t1));
      spectrum = std::min(spectrum, kavi::bench::Milliseconds(t1, t2));
      site = std::min(site, kavi::bench::Milliseconds(t2, t3));
    }
    const double total = grid + spectrum + site;
    std::printf("%8d %7d %9d %6d %6d %9.2f %9.3f %9.3f %9.2f %7.1f\n", used, lines,
                kavi::TestCore().grid.crossingCount, kavi::TestCore().grid.passCount, status, grid,
                spectrum, site, total, total * 1e6 / used);
  }
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(pattern);
  return 0;
}
