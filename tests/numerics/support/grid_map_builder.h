// Builds map storage (MapX/MapY, line after line: two roughness values, the
// elevation, then the points) directly, for tests of the routines that read
// the map.
#pragma once

#include <utility>
#include <vector>

namespace kavi::test {

using MapPoints = std::vector<std::pair<float, float>>;

class GridMapBuilder {
 public:
  static constexpr int kCapacity = 500000;

  explicit GridMapBuilder(int capacity = kCapacity);

  // A height contour (kind 0) through the points.
  void AddContour(float elevation, const MapPoints& points);
  // A roughness-change line (kind 1) with the roughness on its left and right.
  void AddRoughnessLine(float left, float right, const MapPoints& points);
  // A closed polygon of `corners` corners (plus the repeated first one) on a
  // circle, the first corner at startDegrees counter-clockwise from east.
  void AddCircle(float elevation, float centreX, float centreY, float radius, int corners,
                 float startDegrees = 0.0f);

  const float* x() const { return x_.data(); }
  const float* y() const { return y_.data(); }
  float* x() { return x_.data(); }
  float* y() { return y_.data(); }
  int lineCount() const { return lines_; }
  int entryCount() const { return used_; }
  int capacity() const { return static_cast<int>(x_.size()); }

 private:
  void AddLine(float first, float second, float elevation, int kind, const MapPoints& points);

  std::vector<float> x_;
  std::vector<float> y_;
  int lines_ = 0;
  int used_ = 0;
};

// A point at distance rho and bearing degrees counter-clockwise from east.
std::pair<float, float> Polar(double rho, double degrees);

}  // namespace kavi::test
