// What the tool can tell about a site before the server calculates there:
// whether it lies on the map (the map's extent, read with the engine's own map
// reader) and whether its height lies within the atlas's standard heights.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gis/map_lines.h"

namespace kavi::tool {

// Terrain this close to a site shapes its wind the most; the site's zooming
// grid reaches past the map's edge when the edge is nearer.
constexpr double kEdgeDistance = 1000;  // m

struct MapArea {
  std::string path;
  gis::MapExtent extent;
};

// The map's extent; nothing when the map cannot be read or holds no point
// (the calculation then reports that itself).
std::optional<MapArea> ReadMapArea(const std::string& path, int capacity);

// "site (x X, y Y)", or "site NAME (x X, y Y)" with a name.
std::string SiteText(double x, double y, const std::string& name = "");

// A warning when the site lies outside the map's extent or within
// kEdgeDistance of its edge; nothing otherwise.
std::optional<std::string> OffMapWarning(const MapArea& map, double x, double y,
                                         const std::string& name = "");

// Words for "Interpolation radius too small" at a site: no height contour lies
// within the zooming grid's reach, and where the site lies relative to the map.
std::string NoContourInReach(const std::optional<MapArea>& map, double x, double y,
                             const std::string& name = "");

// The lowest and highest standard height of an atlas file, read from its
// header; nothing when the header cannot be read (the calculation then
// reports that itself).
struct HeightRange {
  double lowest;
  double highest;
};
std::optional<HeightRange> AtlasHeights(const std::string& path);

// One warning for all heights outside the atlas's standard heights, naming
// them; nothing when every height lies within.
std::optional<std::string> ExtrapolationWarning(const HeightRange& range,
                                                const std::vector<double>& heights,
                                                const std::string& atlasPath);
// Whether the height lies outside the range (then the result is extrapolated).
bool Extrapolated(const HeightRange& range, double height);

}  // namespace kavi::tool
