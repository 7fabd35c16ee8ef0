#include "numerics/map_contours.h"

#include <cmath>

namespace kavi::numerics {

namespace {

constexpr int kRoughnessLineKind = 1;
constexpr int kHeaderEntries = 3;
// Elevations beyond ±10,000 km are damage, not terrain; keeping them out keeps
// every height difference and its spectrum far from single-precision overflow.
constexpr float kMaxElevation = 1e7f;

// A stored count or kind rounded to the nearest integer; -1 when the value is
// not a number in [0, limit].
int StoredInteger(float value, int limit) {
  if (!(value >= -0.5f && value < static_cast<float>(limit) + 0.5f)) return -1;
  return static_cast<int>(std::lround(value));
}

}  // namespace

bool MapContours::Next(MapContour& contour) {
  while (linesLeft_ > 0 && next_ + kHeaderEntries <= capacity_) {
    const int header = next_;
    const int points = StoredInteger(mapY_[header], capacity_);
    const int kind = StoredInteger(mapY_[header + 1], 2);
    if (points < 0 || points > capacity_ - header - kHeaderEntries) break;
    --linesLeft_;
    next_ = header + kHeaderEntries + points;
    const float elevation = mapX_[header + 2];
    if (kind == kRoughnessLineKind || !(std::abs(elevation) <= kMaxElevation)) continue;
    contour.elevationEntry = header + 3;
    contour.elevation = elevation;
    contour.x = mapX_ + header + kHeaderEntries;
    contour.y = mapY_ + header + kHeaderEntries;
    contour.pointCount = points;
    return true;
  }
  linesLeft_ = 0;
  return false;
}

}  // namespace kavi::numerics
