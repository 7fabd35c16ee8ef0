// Roughness-change lines from a classified land-cover raster: the band is
// brought onto the map (nearest cell, the map's CRS, the map's area and a
// margin; a raster without CRS is taken to be in the map's), each class takes its z0 from the class
// table, and every cell side between two cells of different z0 becomes a piece of boundary, written
// once.
#pragma once

#include <vector>

#include "gis/landcover_areas.h"
#include "gis/roughness_boundaries.h"

namespace kavi::gis {

// GisError naming the file and the fault: not a raster, no such band, no CRS,
// a class missing from the table, cells without data and no default z0.
// cellSize is set to the cell side used on the map, metres; a negative
// tolerance in boundaries stands for half of it.
std::vector<RoughnessLine> RasterBoundaries(const LandCoverRequest& request, const MapFrame& frame,
                                            BoundaryRequest boundaries, double& cellSize);

}  // namespace kavi::gis
