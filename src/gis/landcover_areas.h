// Land-cover polygons as areas of one roughness length each, in the map's
// local frame: a z0 field, or a class field and a class table.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gis/class_table.h"
#include "gis/import_area.h"
#include "gis/map_content.h"

class OGRSpatialReference;

namespace kavi::gis {

// Rings oriented so that the area lies on their left: the outer ring
// anticlockwise, holes clockwise.
struct LandCoverArea {
  std::vector<Polyline> rings;
  double z0 = 0.0;
  Bounds envelope;
};

struct LandCoverRequest {
  std::string path;
  std::optional<std::string> z0Field;     // --z0-field
  std::optional<std::string> classField;  // --class-field (with classes)
  std::optional<int> band;                // --band (with classes): a classified raster
  const ClassTable* classes = nullptr;    // --classes
};

struct MapFrame {
  const OGRSpatialReference* crs = nullptr;
  double originX = 0.0, originY = 0.0;
  Bounds area;  // in the map's CRS
};

// GisError naming the file and the fault: not readable, a missing field, a
// z0 that is not a number or negative, a class missing from the table.
std::vector<LandCoverArea> ReadLandCoverPolygons(const LandCoverRequest& request,
                                                 const MapFrame& frame);

// The z0 of a class; GisError naming where when the table lacks it.
double ClassZ0(const ClassTable& classes, const std::string& value, const std::string& where);

}  // namespace kavi::gis
