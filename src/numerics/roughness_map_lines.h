// Walking the lines of map storage (MapX, MapY) as the roughness rose reads it:
// every line is three header entries (MapX: left roughness, right roughness,
// elevation; MapY: point count, kind, 0) followed by its points.
#pragma once

namespace kavi::numerics::rose {

constexpr int kLineHeaderEntries = 3;

struct MapLine {
  int header = 0;  // index (from 0) of the line's first header entry
  int points = 0;  // stored number of points; they follow the header
  int kind = -1;   // 0 height contour, 1 roughness line, 2 both; -1 unreadable
  // Roughness-change lines of at least two points are the ones the rose uses.
  bool IsRoughnessLine() const { return points >= 2 && (kind == 1 || kind == 2); }
  int FirstPoint() const { return header + kLineHeaderEntries; }
};

// Walks lineCount lines from the first entry, checking each against the
// capacity of the arrays. A header or a point list that would run past the
// capacity, or a point count that is not a count, stops the walk and marks the
// storage as broken.
class MapLineWalk {
 public:
  MapLineWalk(const float* mapY, int lineCount, int capacity)
      : mapY_(mapY), remaining_(lineCount), capacity_(capacity) {}
  // The next line; false after the last line or when the storage is broken.
  bool Next(MapLine& line);
  bool broken() const { return broken_; }

 private:
  const float* mapY_;
  int remaining_;
  int capacity_;
  int next_ = 0;
  bool broken_ = false;
};

}  // namespace kavi::numerics::rose
