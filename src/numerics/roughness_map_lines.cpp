#include "numerics/roughness_map_lines.h"

#include <cmath>

namespace kavi::numerics::rose {

namespace {
constexpr float kLargestCount = 1.0e9f;  // beyond any capacity, and within range of a long

// The kind of a line, or -1 when the stored value is not one of 0, 1, 2.
int LineKind(float stored) {
  if (!(stored > -0.5f && stored < 2.5f)) return -1;
  return static_cast<int>(std::lround(stored));
}
}  // namespace

bool MapLineWalk::Next(MapLine& line) {
  if (broken_ || remaining_ <= 0) return false;
  if (next_ > capacity_ - kLineHeaderEntries) {
    broken_ = true;
    return false;
  }
  // The count must be a number of points that fits behind the header.
  const float count = mapY_[next_];
  const int room = capacity_ - next_ - kLineHeaderEntries;
  const long points = count > -0.5f && count < kLargestCount ? std::lround(count) : -1;
  if (points < 0 || points > room) {
    broken_ = true;
    return false;
  }
  line.header = next_;
  line.points = static_cast<int>(points);
  line.kind = LineKind(mapY_[next_ + 1]);
  next_ += kLineHeaderEntries + line.points;
  --remaining_;
  return true;
}

}  // namespace kavi::numerics::rose
