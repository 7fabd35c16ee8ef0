// Walks the height contours (line kinds 0 and 2) of the map storage. The
// walk never reads past the storage: it ends where a header does not describe a
// line that fits, so damaged storage shortens the map instead of overrunning
// it. Contours whose elevation is not a number within ±1e7 m are passed over.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct MapContour {
  int elevationEntry = 0;  // entry number (from 1) of the line's elevation
  float elevation = 0.0f;
  const float* x = nullptr;  // the line's points
  const float* y = nullptr;
  int pointCount = 0;
};

class MapContours {
 public:
  explicit MapContours(const MapStorage& map)
      : mapX_(map.x), mapY_(map.y), linesLeft_(map.lineCount), capacity_(map.capacity) {}

  // Moves to the next height contour; false when the map has no more.
  bool Next(MapContour& contour);

 private:
  const float* mapX_;
  const float* mapY_;
  int linesLeft_;
  int capacity_;
  int next_ = 0;  // array index of the next line's header
};

}  // namespace kavi::numerics
