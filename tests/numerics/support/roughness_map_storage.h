// Builds map storage (MapX, MapY) line by line for tests of the roughness rose,
// laid out as the map reader stores it: per line three header entries
// (left roughness | count, right roughness | kind, elevation | 0), then the
// points.
#pragma once

#include <vector>

#include "numerics/calculation_arrays.h"

namespace kavi::test {

struct MapPoint {
  double x;
  double y;
};

class RoughnessMapStorage {
 public:
  explicit RoughnessMapStorage(int capacity = 500000);

  // A roughness-change line: `left` is the roughness on the left looking from
  // its first point towards its last, `right` on the right.
  void AddRoughnessLine(float left, float right, const std::vector<MapPoint>& points);
  void AddContour(float elevation, const std::vector<MapPoint>& points);
  // Any header, for lines the map reader would never store.
  void AddLine(float left, float right, float elevation, float count, float kind,
               const std::vector<MapPoint>& points);

  const float* x() const { return x_.data(); }
  const float* y() const { return y_.data(); }
  float* x() { return x_.data(); }
  float* y() { return y_.data(); }
  int lineCount() const { return lines_; }
  int entryCount() const { return entries_; }
  int capacity() const { return static_cast<int>(x_.size()); }

 private:
  std::vector<float> x_;
  std::vector<float> y_;
  int lines_ = 0;
  int entries_ = 0;
};

// Vertices of a regular polygon on a circle, closed (the first vertex repeated
// at the end), starting at angle `start` (radians, counter-clockwise from +x).
std::vector<MapPoint> CirclePoints(double cx, double cy, double radius, int vertices,
                                   bool counterClockwise, double start = 0.0);

// Points on an arc around (cx, cy) from compass bearing `from` to bearing `to`
// (degrees, clockwise from north), in `segments` equal steps of bearing.
// Increasing bearings run clockwise around the centre.
std::vector<MapPoint> ArcPoints(double cx, double cy, double radius, double from, double to,
                                int segments);

// The rose as the model's reset leaves it: no changes, ring 0 at 0.03.
void ResetRose(kavi::numerics::RoughnessRose& rose);

// The rose's parameters at their defaults: RDECAYL 10000, RNUMSECT 9, MAXRC 10,
// threshold 0.3; status cleared.
void SetRoseDefaults();

}  // namespace kavi::test
