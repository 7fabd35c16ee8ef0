// How much land lies upstream of a sector of the roughness rose, weighting
// each stretch by how far away it is.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// Weight with which the surface beyond a roughness change at this distance
// (m) still counts, for a fetch width W (m): 1 at distance 0, about 0 at W.
float RoughnessChangeWeight(float distance, float width);

// Fraction of land (0 … 1) upstream of sector s (1-based) of the rose.
float UpstreamLandFraction(const Context& ctx, const RoughnessRose& rose, int sector);

}  // namespace kavi::numerics
