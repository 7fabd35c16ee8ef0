// map info: what a map holds, read by the engine's own reader.
#include <kavi/abi.h>

#include <cstdio>
#include <set>

#include "call_failure.h"
#include "gis/map_lines.h"
#include "map_origin.h"
#include "map_subcommand.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"(Usage: kavicalc map info FILE.map

Describes a map as the engine reads it: the number of height contours,
roughness-change lines and lines that are both, the entries they take of the
edition's capacity, the extent, the height range, the roughness lengths
present, and the CRS and local origin when the map records them (then the
extent is given in the CRS as well).

Options:
  --help   this help

Examples:
  kavicalc map info site.map
  kavicalc --edition kavibase map info large.map
)";

std::string Text(double value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

int Run(const ToolEdition& edition, const std::string& file, const ParsedOptions& options) {
  const gis::MapLines map = ReadSubcommandMap(edition, file, options.command());
  const MapOrigin origin = MapOriginOf(file);
  int contours = 0, roughness = 0, both = 0;
  std::set<float> z0s;
  bool haveHeights = false;
  float lowest = 0, highest = 0;
  for (const gis::MapLine& line : map.lines) {
    if (line.kind == gis::MapLineKind::kContour) ++contours;
    if (line.kind == gis::MapLineKind::kRoughness) ++roughness;
    if (line.kind == gis::MapLineKind::kContourAndRoughness) ++both;
    if (line.IsRoughnessChange()) z0s.insert({line.z0Left, line.z0Right});
    if (line.IsContour()) {
      lowest = haveHeights ? std::min(lowest, line.elevation) : line.elevation;
      highest = haveHeights ? std::max(highest, line.elevation) : line.elevation;
      haveHeights = true;
    }
  }
  std::printf("Map %s\n", file.c_str());
  std::printf("  lines:      %zu (%d contours, %d roughness-change lines, %d both)\n",
              map.lines.size(), contours, roughness, both);
  std::printf("  entries:    %d of %d (%s)\n", map.entryCount, MapCapacity(edition), edition.name);
  const gis::MapExtent e = map.Extent();
  if (e.empty) {
    std::printf("  extent:     none (no points)\n");
  } else {
    std::printf("  extent:     %s,%s to %s,%s (map coordinates)\n", Text(e.minX).c_str(),
                Text(e.minY).c_str(), Text(e.maxX).c_str(), Text(e.maxY).c_str());
    if (origin.Recorded()) {
      const Position low = origin.ToCrs({e.minX, e.minY}), high = origin.ToCrs({e.maxX, e.maxY});
      std::printf("  extent:     %s,%s to %s,%s (%s)\n", Text(low.x).c_str(), Text(low.y).c_str(),
                  Text(high.x).c_str(), Text(high.y).c_str(), origin.reference()->crs.c_str());
    }
  }
  if (haveHeights)
    std::printf("  heights:    %s to %s m\n", Text(lowest).c_str(), Text(highest).c_str());
  else
    std::printf("  heights:    none (no contours)\n");
  std::string values;
  for (float z0 : z0s) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%g", values.empty() ? "" : ", ", static_cast<double>(z0));
    values += text;
  }
  std::printf("  z0 (m):     %s\n",
              values.empty() ? "none (no roughness-change lines)" : values.c_str());
  if (origin.Recorded())
    std::printf("  CRS:        %s, origin %s,%s (positions are given in the CRS)\n",
                origin.reference()->crs.c_str(), Text(origin.reference()->originX).c_str(),
                Text(origin.reference()->originY).c_str());
  else
    std::printf("  CRS:        none recorded (positions are map coordinates)\n");
  return 0;
}
}  // namespace

MapSubcommand MapInfoSubcommand() {
  return {"info", "counts, extent, heights, roughness and CRS of a map", kHelp, "FILE.map", {},
          Run};
}

}  // namespace kavi::tool
