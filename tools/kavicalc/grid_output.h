// Writing a resource grid: CSV rows, NetCDF-4 following the CF conventions,
// or GeoTIFF bands; which one follows from the output file's extension.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "grid_values.h"

namespace kavi::tool {

// What the outputs record about how the grid was calculated.
struct GridProvenance {
  std::string program;  // "kavicalc 1.5.5.0 (Kavicalc)"
  std::string map;
  std::string atlas;
  std::string rose;           // empty when not given
  std::string obstacles;      // empty when not given
  std::string parametersSet;  // the --set values, "ID=VALUE ID=VALUE"; empty for defaults
  std::string powerCurve;     // empty without a power curve
  std::string airDensity;     // kg/m³ as given; empty for standard air
  bool energy = false;        // aep and capacity factor present
  std::string crs;            // "EPSG:32612" of a map that records one; empty otherwise
  std::string crsWkt;         // the same as WKT

  // The items in the order the outputs list them, without the empty ones.
  std::vector<std::pair<std::string, std::string>> Items() const;
};

enum class GridFormat { kCsv, kNetcdf, kGeoTiff };

// The format of an output name ending in .csv, .nc or .tif/.tiff (any case),
// or false.
bool GridFormatOf(const std::string& path, GridFormat& format);

// Each writes a new file at path (a temporary name that is renamed later);
// a failure throws CallFailure naming the file.
void WriteGridCsv(const std::string& path, const GridValues& values, const GridProvenance& about);
void WriteGridNetcdf(const std::string& path, const GridValues& values,
                     const GridProvenance& about);
void WriteGridGeoTiff(const std::string& path, const GridValues& values,
                      const GridProvenance& about);

}  // namespace kavi::tool
