// Shared set-up of the site-model tests: the parameters the site model reads at
// their configured defaults, the grid constants, and an empty grid.
#pragma once

#include <algorithm>

#include "numerics/calculation_arrays.h"
#include "numerics/grid_state.h"
#include "numerics/numerical_state.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics::testing {

inline void SetParameter(int n, float value) { TestCore().parameters[n - 1] = value; }

inline void UseSiteModelDefaults(int nsec) {
  SetParameter(1, static_cast<float>(nsec));
  SetParameter(6, 1000.0f);  // BZINVHE
  SetParameter(7, 1.0f);     // BZSOFTN
  SetParameter(24, 0.0f);
  SetParameter(26, 0.27f);
  SetParameter(27, 0.3f);
  SetParameter(28, 1000.0f);
  SetParameter(29, 5.0f);
  SetParameter(30, 0.67f);
  SetParameter(31, 10000.0f);  // RDECAYL
  SetParameter(34, 0.0f);      // TRUEUPW
  SetParameter(39, 0.9f);
  SetParameter(40, 0.3f);
  SetParameter(41, 0.09f);
  TestCore().sectorCount = nsec;
  TestCore().status = kStatusOk;
  TestCore().LoadGridConstants();
}

inline void ClearGrid() {
  GridState& grid = TestCore().grid;
  grid.searchRadius = 0.0f;
  grid.lengthScale = 0.0f;
  grid.rayCount = 0;
  std::fill_n(&grid.coefficients[0][0][0], kMaxSectors * kGridTermCount * 3, 0.0f);
}

// A rose whose every sector has roughness z0 at the site and no change.
inline void UniformRose(RoughnessRose& rose, float z0) {
  rose = RoughnessRose{};
  for (int j = 0; j < kMaxSectors; ++j) rose.z0[0][j] = z0;
}

// A table whose slots hold recognisable values, to see which ones are written.
inline void MarkTable(SiteEffectTable& table) {
  for (int i = 0; i < kEffectSlots * kMaxSectors; ++i) {
    table.speedFactor[i] = 7.0f;
    table.turning[i] = 7.0f;
  }
}

}  // namespace kavi::numerics::testing
