// Direction grids of equal sectors, the overlap of an angular window with
// them and the turning of the sector boundaries by the site, shared by the
// atlas calculation and the prediction. Angles are in
// degrees and are not reduced modulo 360: interval q of a grid covers
// [origin + (q − 0.5)·width, origin + (q + 0.5)·width] and belongs to sector
// q mod count.
#pragma once

#include <algorithm>
#include <cmath>

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

// The largest turning (degrees) a site effect may add to a sector; larger or
// meaningless values are limited to it so that a window spans few sectors.
constexpr float kMaxSectorTurning = 360.0f;

// Sector (0-based) of grid interval q.
inline int GridSector(int q, int count) {
  const int m = q % count;
  return m < 0 ? m + count : m;
}

// Index q of the grid interval that holds angle x.
inline int GridInterval(float x, float origin, float width) {
  return static_cast<int>(std::floor((x - origin) / width + 0.5f));
}

// Calls visit(sector, overlap) for every grid interval from the one holding
// lo to the one holding hi, with the length of its overlap with [lo, hi]
// (never negative; 0 for a zero-width window).
template <class Visit>
void ForEachGridOverlap(float lo, float hi, float origin, float width, int count, Visit visit) {
  const int first = GridInterval(lo, origin, width);
  const int last = GridInterval(hi, origin, width);
  for (int q = first; q <= last; ++q) {
    const float start = origin + (static_cast<float>(q) - 0.5f) * width;
    const float end = origin + (static_cast<float>(q) + 0.5f) * width;
    visit(GridSector(q, count), std::max(0.0f, std::min(hi, end) - std::max(lo, start)));
  }
}

// The sum of the four slots' turnings of a sector, limited to what a window
// can sensibly be turned by (a meaningless value counts as no turning).
inline float LimitedTurning(float turning) {
  if (!std::isfinite(turning)) return 0.0f;
  return std::clamp(turning, -kMaxSectorTurning, kMaxSectorTurning);
}

// The turning b_s at the boundary between sector s and s + 1 (0-based, cyclic)
// of the n sectors: the mean of the two sectors' limited turnings, each the
// sum over the four slots of the site effect table.
inline void BoundaryTurnings(const SiteEffectTable& effects, int n, float* boundary) {
  float turning[kMaxSectors];
  for (int s = 0; s < n; ++s) {
    float sum = 0.0f;
    for (int slot = 1; slot <= kEffectSlots; ++slot)
      sum += effects.turning[EffectIndex(slot, s, n)];
    turning[s] = LimitedTurning(sum);
  }
  for (int s = 0; s < n; ++s) boundary[s] = (turning[s] + turning[(s + 1) % n]) / 2.0f;
}

}  // namespace kavi::numerics
