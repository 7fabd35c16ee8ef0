// Parameter vector and grid constants for tests of the zooming grid and its
// spectrum: the configuration's defaults for the elements these routines read.
#pragma once

#include "numerics/grid_state.h"
#include "numerics/numerical_state.h"
#include "numerics/support/grid_map_builder.h"
#include "numerics/support/test_core.h"
#include "numerics/zooming_grid.h"

namespace kavi::test {

inline void SetGridDefaults() {
  numerics::Context& state = TestCore();
  SetParameter(numerics::kInversionHeight, 1000.0f);
  SetParameter(numerics::kInversionSoftening, 1.0f);
  SetParameter(numerics::kRaySpacing, 5.0f);
  SetParameter(numerics::kMaxSearchRadius, 20000.0f);
  SetParameter(numerics::kGridSpread, 0.5f);
  state.status = numerics::kStatusOk;
  TestCore().LoadGridConstants();
}

// Builds the grid of the map around (siteX, siteY) and returns the site
// elevation.
inline float BuildGrid(const GridMapBuilder& map, float siteX = 0.0f, float siteY = 0.0f) {
  return numerics::BuildZoomingGrid(TestCore(), {map.x(), map.y(), map.lineCount(), map.capacity()},
                                    {siteX, siteY});
}

}  // namespace kavi::test
