// An elevation raster opened for contouring: in a metric CRS (reprojected
// when its own CRS is in degrees or another one is asked for), cut to the
// requested area, and looked over once by blocks for its height range and
// its steepest slope.
#pragma once

#include <optional>
#include <string>

#include "gis/gdal_support.h"
#include "gis/import_area.h"

namespace kavi::gis {

struct ElevationRequest {
  std::string path;
  std::optional<std::string> crs;  // --crs: the map's CRS, or the raster's when it has none
  std::optional<double> noData;    // --nodata: heights to treat as no data
  AreaRequest area;
};

struct ElevationRaster {
  DatasetPtr source;               // the file as opened
  DatasetPtr derived;              // a virtual raster over source: reprojected, cut
  GDALDataset* dataset = nullptr;  // what is contoured: derived, or else source
  GDALRasterBand* band = nullptr;
  OGRSpatialReference crs;
  std::string crsName;  // "EPSG:N"
  bool reprojected = false;
  std::optional<double> noData;
  Bounds extent;          // of dataset, in the map's CRS
  double cellSize = 0.0;  // the larger of the two cell sides, metres
  double minimum = 0.0;   // over the cells with data
  double maximum = 0.0;
  double steepestSlope = 0.0;  // largest height difference per metre between neighbours
  long long cellsWithData = 0;
};

// GisError naming the file and the fault: not a raster, no CRS, a CRS not in
// metres, an area or centre outside the raster, no cell with data.
ElevationRaster OpenElevationRaster(const ElevationRequest& request);

}  // namespace kavi::gis
