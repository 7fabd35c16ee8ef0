// A map's lines as GIS features, to open in QGIS and the like: one feature
// a line with its kind, elevation and the roughness on its left and right,
// in the map's CRS (positions origin + local) when the map records one.
#pragma once

#include <optional>
#include <string>

#include "gis/map_georeference.h"
#include "gis/map_lines.h"

namespace kavi::gis {

// The OGR driver for the file's extension: "GeoJSON" (.geojson, .json) or
// "GPKG" (.gpkg); empty for any other.
std::string ExportDriverFor(const std::string& path);

// Writes the features to path (which must not exist) with the driver its
// extension names; GisError when GDAL cannot write it.
void ExportMapLines(const MapLines& map, const std::optional<MapGeoreference>& reference,
                    const std::string& path, const std::string& driver);

}  // namespace kavi::gis
