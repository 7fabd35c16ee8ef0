// A map about to be written: height contours and roughness-change lines in
// local coordinates (metres from the map's origin), and the map text the
// engine's reader takes.
#pragma once

#include <string>
#include <vector>

namespace kavi::gis {

struct LocalPoint {
  double x = 0.0;
  double y = 0.0;
};

using Polyline = std::vector<LocalPoint>;

struct Contour {
  double elevation = 0.0;
  Polyline points;
};

// Left and right as seen walking from the first point to the last.
struct RoughnessLine {
  double z0Left = 0.0;
  double z0Right = 0.0;
  Polyline points;
};

struct MapContent {
  std::string title;  // the whole title line, starting with '+'
  std::vector<Contour> contours;
  std::vector<RoughnessLine> roughnessLines;

  // Entries the engine's coordinate arrays need for this map (3 + n a line).
  long long EntryCount() const;
};

// The map file text: title, no transformation, height scale 1, then the
// contours and the roughness lines with three points to a record.
std::string MapText(const MapContent& map);

}  // namespace kavi::gis
