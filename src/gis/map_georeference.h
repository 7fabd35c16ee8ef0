// The coordinate reference of a map made from GIS data: the CRS its positions
// belong to and the local origin subtracted from them. The engine holds map
// coordinates in single precision, so an imported map stores positions
// relative to a round origin near its centre and records CRS and origin on its
// title line, which the engine's reader skips after the first character:
//
//   +kavicalc map | crs EPSG:32612 | origin 345000 4817000 | from big_butte.tif
//
// A position in the CRS is origin + local position.
#pragma once

#include <optional>
#include <string>

namespace kavi::gis {

struct MapGeoreference {
  std::string crs;  // "EPSG:32612"
  double originX = 0.0;
  double originY = 0.0;
};

// The title line of an imported map (without line end); source names the
// data the map came from and is shortened to keep the title on one line.
std::string GeoreferencedTitle(const MapGeoreference& reference, const std::string& source);

// The georeference a title line records, if any.
std::optional<MapGeoreference> ParseGeoreferencedTitle(const std::string& title);

// The CRS a georeference names ("EPSG:32612") as WKT, for the outputs that
// record it; GisError when GDAL does not know it.
std::string CrsWkt(const std::string& crs);

// The georeference recorded on the title line of the map file at path; none
// when the file cannot be read or its title records none.
std::optional<MapGeoreference> ReadMapGeoreference(const std::string& path);

}  // namespace kavi::gis
