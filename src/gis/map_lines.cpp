#include "gis/map_lines.h"

#include <algorithm>
#include <memory>

#include "numerics/context.h"
#include "numerics/map_input.h"

namespace kavi::gis {

namespace {

// Turns the engine's stored layout (see numerics/map_input.h) back into lines.
std::vector<MapLine> LinesFromArrays(const std::vector<float>& x, const std::vector<float>& y,
                                     int lineCount, int entryCount) {
  std::vector<MapLine> lines;
  std::size_t k = 0;
  const auto entries = static_cast<std::size_t>(entryCount);
  for (int line = 0; line < lineCount && k + 3 <= entries; ++line) {
    MapLine stored;
    const int kind = static_cast<int>(y[k + 1]);
    stored.kind = kind == 0   ? MapLineKind::kContour
                  : kind == 1 ? MapLineKind::kRoughness
                              : MapLineKind::kContourAndRoughness;
    stored.z0Left = x[k];
    stored.z0Right = x[k + 1];
    stored.elevation = x[k + 2];
    const auto n = std::min(static_cast<std::size_t>(y[k]), entries - (k + 3));
    stored.points.reserve(n);
    for (std::size_t i = 0; i < n; ++i) stored.points.push_back({x[k + 3 + i], y[k + 3 + i]});
    lines.push_back(std::move(stored));
    k += 3 + n;
  }
  return lines;
}

}  // namespace

MapExtent MapLines::Extent() const {
  MapExtent extent;
  for (const MapLine& line : lines)
    for (const MapPoint& p : line.points) {
      if (extent.empty) {
        extent = {p.x, p.y, p.x, p.y, false};
        continue;
      }
      extent.minX = std::min(extent.minX, p.x);
      extent.minY = std::min(extent.minY, p.y);
      extent.maxX = std::max(extent.maxX, p.x);
      extent.maxY = std::max(extent.maxY, p.y);
    }
  return extent;
}

MapLines ReadMapLines(const std::string& path, int capacity) {
  std::vector<float> x(static_cast<std::size_t>(capacity)), y(static_cast<std::size_t>(capacity));
  numerics::MapContents contents;
  // A context of its own: the map is read apart from any calculation.
  const auto core = std::make_unique<numerics::Context>();
  numerics::MapInput(*core, path, x, y, contents);
  const int status = core->status;
  switch (status) {
    case numerics::kStatusOk:
      break;
    case numerics::kStatusCannotOpenFile:
      throw MapReadError(status, "the map file cannot be opened");
    case numerics::kStatusMapTooLarge:
      throw MapReadError(status, "the map holds more entries than the engine's capacity of " +
                                     std::to_string(capacity));
    default:
      throw MapReadError(status, "error in the map file");
  }
  MapLines map;
  map.entryCount = contents.entryCount;
  map.lines = LinesFromArrays(x, y, contents.lineCount, contents.entryCount);
  return map;
}

}  // namespace kavi::gis
