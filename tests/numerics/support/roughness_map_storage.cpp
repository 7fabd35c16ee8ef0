#include "roughness_map_storage.h"

#include <cmath>
#include <stdexcept>

#include "numerics/numerical_state.h"
#include "numerics/support/test_core.h"

namespace kavi::test {

RoughnessMapStorage::RoughnessMapStorage(int capacity) : x_(capacity, 0.0f), y_(capacity, 0.0f) {}

void RoughnessMapStorage::AddRoughnessLine(float left, float right,
                                           const std::vector<MapPoint>& points) {
  AddLine(left, right, 0.0f, static_cast<float>(points.size()), 1.0f, points);
}

void RoughnessMapStorage::AddContour(float elevation, const std::vector<MapPoint>& points) {
  AddLine(0.0f, 0.0f, elevation, static_cast<float>(points.size()), 0.0f, points);
}

void RoughnessMapStorage::AddLine(float left, float right, float elevation, float count, float kind,
                                  const std::vector<MapPoint>& points) {
  const std::size_t need = entries_ + 3 + points.size();
  if (need > x_.size()) throw std::length_error("map storage full");
  float* x = x_.data() + entries_;
  float* y = y_.data() + entries_;
  x[0] = left;
  y[0] = count;
  x[1] = right;
  y[1] = kind;
  x[2] = elevation;
  y[2] = 0.0f;
  for (std::size_t i = 0; i < points.size(); ++i) {
    x[3 + i] = static_cast<float>(points[i].x);
    y[3 + i] = static_cast<float>(points[i].y);
  }
  entries_ = static_cast<int>(need);
  ++lines_;
}

std::vector<MapPoint> CirclePoints(double cx, double cy, double radius, int vertices,
                                   bool counterClockwise, double start) {
  const double kTwoPi = 6.283185307179586;
  std::vector<MapPoint> points;
  for (int i = 0; i <= vertices; ++i) {
    const double turn = kTwoPi * (i % vertices) / vertices;
    const double a = start + (counterClockwise ? turn : -turn);
    points.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a)});
  }
  return points;
}

std::vector<MapPoint> ArcPoints(double cx, double cy, double radius, double from, double to,
                                int segments) {
  const double kDegree = 0.017453292519943295;
  std::vector<MapPoint> points;
  for (int i = 0; i <= segments; ++i) {
    const double bearing = (from + (to - from) * i / segments) * kDegree;
    points.push_back({cx + radius * std::sin(bearing), cy + radius * std::cos(bearing)});
  }
  return points;
}

void ResetRose(numerics::RoughnessRose& rose) {
  rose = numerics::RoughnessRose{};
  for (int s = 0; s < numerics::kMaxSectors; ++s) rose.z0[0][s] = 0.03f;
}

void SetRoseDefaults() {
  numerics::Context& state = TestCore();
  SetParameter(numerics::kRoughnessDecayLength, 10000.0f);
  SetParameter(numerics::kRoseSubRays, 9.0f);
  SetParameter(numerics::kMaxChangesPerSector, 10.0f);
  SetParameter(numerics::kRoughnessChangeThreshold, 0.3f);
  state.status = numerics::kStatusOk;
}

}  // namespace kavi::test
