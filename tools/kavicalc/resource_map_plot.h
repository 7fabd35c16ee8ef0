// A resource grid drawn as a map: the mean wind speed of each node as colour
// with a legend in m/s, the map's height contours and roughness-change lines
// over it, the grid's extent and the sites of interest.
#pragma once

#include <gis/map_lines.h>

#include <string>
#include <vector>

#include "grid_values.h"
#include "site_list.h"

namespace kavi::tool {

// The map of the first height of the grid as an SVG document; title names
// the map and the atlas.
std::string ResourceMapSvg(const GridValues& values, const gis::MapLines& map,
                           const std::vector<SiteSpec>& sites, const std::string& title);

}  // namespace kavi::tool
