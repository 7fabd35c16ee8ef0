// The logarithmic profile and the internal boundary layer that grows
// downstream of a change in surface roughness.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// The profile function F(r): ln r above r = 2, below it a cubic that meets the
// logarithm with the same value and slope at r = 2 and vanishes at r = 0.
// Defined for r >= 0.
float LogProfileShape(float r);

// Height (m) of the internal boundary layer at fetch x (m) downstream of a
// roughness change between roughness lengths z0u and z0d (m).
float BoundaryLayerHeight(const Context& ctx, float fetch, float upstreamRoughness,
                          float downstreamRoughness);

// Speed at height z (m) downstream of a roughness change over the speed that
// the upstream profile would have there, for downstream roughness zd, upstream
// roughness zu and internal boundary layer height h (all m).
float RoughnessChangeRatio(const Context& ctx, float height, float downstreamRoughness,
                           float upstreamRoughness, float boundaryLayerHeight);

}  // namespace kavi::numerics
