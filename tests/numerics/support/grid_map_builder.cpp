#include "numerics/support/grid_map_builder.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace kavi::test {

GridMapBuilder::GridMapBuilder(int capacity) : x_(capacity, 0.0f), y_(capacity, 0.0f) {}

void GridMapBuilder::AddLine(float first, float second, float elevation, int kind,
                             const MapPoints& points) {
  const int n = static_cast<int>(points.size());
  if (used_ + 3 + n > capacity()) throw std::length_error("map storage full");
  x_[used_] = first;
  y_[used_] = static_cast<float>(n);
  x_[used_ + 1] = second;
  y_[used_ + 1] = static_cast<float>(kind);
  x_[used_ + 2] = elevation;
  y_[used_ + 2] = 0.0f;
  for (int i = 0; i < n; ++i) {
    x_[used_ + 3 + i] = points[i].first;
    y_[used_ + 3 + i] = points[i].second;
  }
  used_ += 3 + n;
  ++lines_;
}

void GridMapBuilder::AddContour(float elevation, const MapPoints& points) {
  AddLine(0.0f, 0.0f, elevation, 0, points);
}

void GridMapBuilder::AddRoughnessLine(float left, float right, const MapPoints& points) {
  AddLine(left, right, 0.0f, 1, points);
}

void GridMapBuilder::AddCircle(float elevation, float centreX, float centreY, float radius,
                               int corners, float startDegrees) {
  MapPoints points;
  for (int i = 0; i <= corners; ++i) {
    const auto [dx, dy] = Polar(radius, startDegrees + 360.0 * (i % corners) / corners);
    points.emplace_back(centreX + dx, centreY + dy);
  }
  AddContour(elevation, points);
}

std::pair<float, float> Polar(double rho, double degrees) {
  const double angle = degrees * std::numbers::pi / 180.0;
  return {static_cast<float>(rho * std::cos(angle)), static_cast<float>(rho * std::sin(angle))};
}

}  // namespace kavi::test
