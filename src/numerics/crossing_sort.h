// The crossings of the zooming grid's rays with the height contours, and their
// sort by ray and distance.
#pragma once

namespace kavi::numerics {

// One ray meeting one contour segment: the distance t along the ray over the
// grid length scale and code = ray + rayCount * (elevation entry of the contour).
struct GridCrossing {
  float t;
  int code;
};

// Sorts the first count crossings in place, by ray and within a ray by t;
// iterative, with a bounded stack.
void SortCrossings(GridCrossing* crossings, int count, int rayCount);

}  // namespace kavi::numerics
