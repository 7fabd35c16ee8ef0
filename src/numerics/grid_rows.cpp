#include "numerics/grid_rows.h"

#include <algorithm>
#include <cmath>

namespace kavi::numerics {

namespace {

float CrossingValue(int code, const RowHeights& heights) {
  const float elevation = heights.mapX[code / heights.rayCount - 1];
  return SoftenedDifference(elevation - heights.siteElevation, heights.inversionHeight,
                            heights.softening);
}

}  // namespace

float SoftenedDifference(float delta, float inversionHeight, float softening) {
  const float size = std::abs(delta);
  const float softened =
      std::min(size, inversionHeight) + softening * std::max(size - inversionHeight, 0.0f);
  return delta < 0.0f ? -softened : softened;
}

void FillRayRow(const GridCrossing* crossings, int n, const RowHeights& heights,
                const ZoomingNodes& nodes, float* row) {
  float previousT = 0.0f;  // the site itself, at height difference 0
  float previousG = 0.0f;
  int next = 0;  // the first crossing not yet passed
  float nextG = CrossingValue(crossings[0].code, heights);
  for (int j = 0; j < kGridNodes; ++j) {
    const float r = nodes.radius[j];
    while (next < n && r > crossings[next].t) {
      previousT = crossings[next].t;
      previousG = nextG;
      if (++next < n) nextG = CrossingValue(crossings[next].code, heights);
    }
    // 0 only at the last crossing
    const float span = next == n ? 0.0f : crossings[next].t - previousT;
    row[j] = span > 0.0f ? previousG + (r - previousT) * (nextG - previousG) / span : previousG;
  }
}

}  // namespace kavi::numerics
