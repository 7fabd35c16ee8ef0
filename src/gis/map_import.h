// A map for the engine made from GIS data: height contours of an elevation
// raster and roughness-change lines of a land cover, in a metric CRS,
// relative to a local origin recorded on the title line.
#pragma once

#include <optional>
#include <string>

#include "gis/class_table.h"
#include "gis/elevation_raster.h"
#include "gis/landcover_areas.h"
#include "gis/map_content.h"
#include "gis/map_georeference.h"

namespace kavi::gis {

struct ImportRequest {
  ElevationRequest elevation;
  std::optional<double> interval;  // metres between contours; default from the relief
  std::optional<LandCoverRequest> landCover;
  std::optional<double> defaultZ0;  // roughness where no land cover lies
  std::optional<double> simplify;   // thinning tolerance, metres
  long long capacity = 0;           // entries the engine's map holds
};

struct ImportResult {
  MapContent map;
  MapGeoreference reference;
  double interval = 0.0;
  bool intervalChosen = false;         // from the relief, not given
  double tolerance = 0.0;              // contours' thinning, metres
  double roughnessTolerance = 0.0;     // roughness lines' thinning, metres
  Bounds extent;                       // the map's area, in its CRS
  double lowest = 0.0, highest = 0.0;  // heights of the raster over the area
  bool reprojected = false;
};

// The map, checked against the capacity. GisError for every fault of the
// inputs, and for a map over the capacity (with advice on making it fit).
ImportResult ImportMap(const ImportRequest& request);

// The origin a map of this area is written relative to: its centre rounded
// to whole kilometres, so that the origin is exact in any decimal notation.
MapGeoreference LocalOrigin(const Bounds& area, const std::string& crs);

}  // namespace kavi::gis
