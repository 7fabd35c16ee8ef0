// The polar zooming grid around a site: terrain heights relative to the site,
// sampled from the map's height contours along a fan of rays at nodes whose
// spacing grows outward, plus the site's own elevation estimated from the
// nearest contours. Results go to the grid state (numerics/grid_state.h).
#pragma once

#include "numerics/calculation_arrays.h"
#include "numerics/crossing_sort.h"

namespace kavi::numerics {

struct Context;

constexpr int kMaxCrossings = 50000;  // crossings held in memory at one time

// Builds the grid for the site from the lines of the map storage and returns
// the site elevation (0 when the grid fails or the map has no contours).
// Reads kInversionHeight, kInversionSoftening, kRaySpacing, kMaxSearchRadius
// and kGridSpread, and the grid constants. Status 6 when one ray has more
// than kMaxCrossings crossings or the work file fails, status 7 when no contour
// crosses any ray; the grid state then holds no grid (length scale 0). A map
// without height contours gives length scale 0, site elevation 0 and no status.
float BuildZoomingGrid(Context& ctx, const MapStorage& map, MapPoint site);

}  // namespace kavi::numerics
