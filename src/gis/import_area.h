// The part of the source data a map is made of, in the map's CRS.
#pragma once

#include <optional>

namespace kavi::gis {

struct Bounds {
  double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;  // x0 < x1, y0 < y1

  bool Contains(double x, double y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
  double CentreX() const { return 0.5 * (x0 + x1); }
  double CentreY() const { return 0.5 * (y0 + y1); }
};

// What the user asked for: a square of side 2 radius around a centre
// (--around, --radius) or a rectangle (--bounds); neither means all the data.
struct AreaRequest {
  std::optional<double> centreX, centreY, radius;
  std::optional<Bounds> bounds;
};

}  // namespace kavi::gis
