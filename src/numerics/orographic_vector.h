// The wind vector of a sector perturbed by the orographic spectrum of the
// zooming grid.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// A horizontal wind vector, east and north components.
struct WindVector {
  float east = 0.0f;
  float north = 0.0f;
};

// The wind vector of sector `sector` (0 … nsec - 1) at `height` above ground,
// perturbed by the orographic spectrum of the zooming grid; the undisturbed
// vector is the unit vector the sector's wind blows towards. Without a grid
// (length scale 0) the undisturbed vector itself.
WindVector OrographicVector(const Context& ctx, const RoughnessRose& rose, float height, int sector,
                            int nsec);

}  // namespace kavi::numerics
