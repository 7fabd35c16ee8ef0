// Shared set-up of the site-model tests: the parameters the site model reads at
// their configured defaults, the grid constants, and an empty grid.
#pragma once

#include <algorithm>

#include "numerics/calculation_arrays.h"
#include "numerics/grid_state.h"
#include "numerics/numerical_state.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics::testing {

inline void UseSiteModelDefaults(int nsec) {
  SetParameter(kSectorCountElement, static_cast<float>(nsec));
  SetParameter(kInversionHeight, 1000.0f);
  SetParameter(kInversionSoftening, 1.0f);
  SetParameter(kOrographicDecayHeight, 0.0f);
  SetParameter(kInnerLayerFactor, 0.27f);
  SetParameter(kTermLengthFactor, 0.3f);
  SetParameter(kOrographicUpperHeight, 1000.0f);
  SetParameter(kRoughnessReach, 5.0f);
  SetParameter(kInnerLayerExponent, 0.67f);
  SetParameter(kRoughnessDecayLength, 10000.0f);
  SetParameter(kTrueUpwind, 0.0f);
  SetParameter(kBoundaryLayerConstant, 0.9f);
  SetParameter(kBlendTop, 0.3f);
  SetParameter(kBlendBottom, 0.09f);
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
