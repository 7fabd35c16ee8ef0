#include "site_checks.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>

#include "number_text.h"

namespace kavi::tool {

namespace {
std::string Metres(double value) { return FixedText(value, 0) + " m"; }

std::string ExtentText(const MapArea& map) {
  const gis::MapExtent& e = map.extent;
  return "the map '" + map.path + "' spans x " + ShortestText(e.minX) + " to " +
         ShortestText(e.maxX) + ", y " + ShortestText(e.minY) + " to " + ShortestText(e.maxY);
}

// Distance from the site to the map's extent (0 inside) and, inside, to its
// nearest edge.
struct Placement {
  double outside;
  double inside;
};

Placement Place(const gis::MapExtent& e, double x, double y) {
  const double dx = std::max({static_cast<double>(e.minX) - x, 0.0, x - e.maxX});
  const double dy = std::max({static_cast<double>(e.minY) - y, 0.0, y - e.maxY});
  const double inside = std::min({x - e.minX, e.maxX - x, y - e.minY, e.maxY - y});
  return {std::hypot(dx, dy), std::max(inside, 0.0)};
}
}  // namespace

std::optional<MapArea> ReadMapArea(const std::string& path, int capacity) {
  try {
    MapArea area{path, gis::ReadMapLines(path, capacity).Extent()};
    if (area.extent.empty) return std::nullopt;
    return area;
  } catch (const gis::MapReadError&) {
    return std::nullopt;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::string SiteText(double x, double y, const std::string& name) {
  return "site " + (name.empty() ? "" : name + " ") + "(x " + ShortestText(x) + ", y " +
         ShortestText(y) + ")";
}

std::optional<std::string> OffMapWarning(const MapArea& map, double x, double y,
                                         const std::string& name) {
  const Placement place = Place(map.extent, x, y);
  if (place.outside > 0)
    return SiteText(x, y, name) + " lies outside the map, " + Metres(place.outside) + " from it (" +
           ExtentText(map) + "): the terrain around the site is not on the map";
  if (place.inside < kEdgeDistance)
    return SiteText(x, y, name) + " lies " + Metres(place.inside) + " inside the map's edge (" +
           ExtentText(map) + "): the terrain within " + Metres(kEdgeDistance) +
           " shapes the wind there, and the map ends nearer";
  return std::nullopt;
}

std::string NoContourInReach(const std::optional<MapArea>& map, double x, double y,
                             const std::string& name) {
  std::string text = SiteText(x, y, name) +
                     ": no height contour of the map lies within the reach of the site's "
                     "zooming grid (parameter MAXRADIUS)";
  if (map) {
    const Placement place = Place(map->extent, x, y);
    if (place.outside > 0) text += "; the site lies " + Metres(place.outside) + " off the map";
    text += " (" + ExtentText(*map) + ")";
  }
  return text;
}

std::optional<HeightRange> AtlasHeights(const std::string& path) {
  std::ifstream in(path);
  std::string title;
  if (!std::getline(in, title)) return std::nullopt;
  // The records after the title are free format: numbers separated by blanks
  // or commas.
  const auto next = [&in]() -> std::optional<double> {
    char c;
    while (in.get(c))
      if (c != ',' && !std::isspace(static_cast<unsigned char>(c))) {
        in.unget();
        double value;
        if (in >> value) return value;
        return std::nullopt;
      }
    return std::nullopt;
  };
  const auto classes = next(), heights = next(), sectors = next();
  if (!classes || !heights || !sectors || *classes < 1 || *classes > 5 || *heights < 1 ||
      *heights > 5)
    return std::nullopt;
  for (int i = 0; i < static_cast<int>(*classes); ++i)
    if (!next()) return std::nullopt;
  HeightRange range{INFINITY, -INFINITY};
  for (int i = 0; i < static_cast<int>(*heights); ++i) {
    const auto h = next();
    if (!h || !std::isfinite(*h)) return std::nullopt;
    range.lowest = std::min(range.lowest, *h);
    range.highest = std::max(range.highest, *h);
  }
  return range;
}

bool Extrapolated(const HeightRange& range, double height) {
  return height > range.highest || height < range.lowest;
}

std::optional<std::string> ExtrapolationWarning(const HeightRange& range,
                                                const std::vector<double>& heights,
                                                const std::string& atlasPath) {
  std::set<double> outside;
  for (const double h : heights)
    if (Extrapolated(range, h)) outside.insert(h);
  if (outside.empty()) return std::nullopt;
  std::string list;
  for (const double h : outside) list += (list.empty() ? "" : ", ") + ShortestText(h) + " m";
  return "height" + std::string(outside.size() == 1 ? " " : "s ") + list +
         " outside the standard heights of the atlas '" + atlasPath + "' (" +
         ShortestText(range.lowest) + " to " + ShortestText(range.highest) +
         " m): the results there are extrapolated";
}

}  // namespace kavi::tool
