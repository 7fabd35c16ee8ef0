// Radii of the zooming grid's nodes along a ray, as fractions of the grid
// length scale: the first node and the first step are the inner radius a, and
// every step is the stretch q times the one before. Shared by the grid builder
// and the spectrum, which must see the very same radii.
#pragma once

#include "numerics/grid_state.h"

namespace kavi::numerics {

struct Context;

struct ZoomingNodes {
  float radius[kGridNodes];  // r(j) at index j - 1
  float step[kGridNodes];    // Δr(j) = r(j) - r(j - 1), with r(0) = 0
};

// Accumulates the radii node by node in single precision from the grid
// constants of the context.
ZoomingNodes ComputeZoomingNodes(const Context& ctx);

}  // namespace kavi::numerics
