// A map file read by the engine's own map reader and handed back as lines, for
// the tools that look at a map rather than calculate on it (summaries, export,
// pictures, the map's extent for warnings about sites off the map).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace kavi::gis {

enum class MapLineKind { kContour, kRoughness, kContourAndRoughness };

struct MapPoint {
  float x = 0.0f;
  float y = 0.0f;
};

// One stored line, with its points in map coordinates (after the file's own
// transformation) and its elevation after the file's height scale and offset.
struct MapLine {
  MapLineKind kind = MapLineKind::kContour;
  float z0Left = 0.0f;   // roughness-change lines only
  float z0Right = 0.0f;  // roughness-change lines only
  float elevation = 0.0f;
  std::vector<MapPoint> points;

  bool IsContour() const { return kind != MapLineKind::kRoughness; }
  bool IsRoughnessChange() const { return kind != MapLineKind::kContour; }
};

struct MapExtent {
  float minX = 0.0f, minY = 0.0f, maxX = 0.0f, maxY = 0.0f;
  bool empty = true;  // no point at all
};

struct MapLines {
  std::vector<MapLine> lines;
  int entryCount = 0;  // entries the engine's arrays hold for these lines

  MapExtent Extent() const;
};

// Why a map could not be read: the engine's status code (4 the file cannot be
// opened, 5 an error in the map file, 6 more entries than capacity).
class MapReadError : public std::runtime_error {
 public:
  MapReadError(int status, const std::string& what) : std::runtime_error(what), status_(status) {}
  int status() const { return status_; }

 private:
  int status_;
};

// Reads the map file at path with capacity entries per coordinate array (the
// edition's map capacity). Throws MapReadError on any status the engine's
// reader leaves.
MapLines ReadMapLines(const std::string& path, int capacity);

}  // namespace kavi::gis
