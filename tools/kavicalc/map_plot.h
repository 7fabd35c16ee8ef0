// A map drawn for people: height contours with height labels along them,
// roughness-change lines as two strokes coloured by the roughness on either
// side, the sites marked, a scale bar and a north arrow, and a key of heights
// and roughness lengths under the map.
#pragma once

#include <gis/map_lines.h>

#include <string>
#include <vector>

#include "map_drawing.h"

namespace kavi::tool {

struct MapPlotHeader {
  std::string title;       // "Map site.map"
  std::string extentLine;  // the extent as the user reads positions
};

// The SVG document of the map; sites in the map's own coordinates.
std::string MapPlotSvg(const gis::MapLines& map, const std::vector<MarkedSite>& sites,
                       const MapPlotHeader& header);

}  // namespace kavi::tool
