#include "gis/map_import.h"

#include <cmath>
#include <filesystem>

#include "gis/elevation_contours.h"
#include "gis/landcover_raster.h"
#include "gis/roughness_boundaries.h"

namespace kavi::gis {

namespace {
std::string Number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// The thinning that keeps every contour within a tenth of the interval in
// height: a point moved sideways by d on the steepest slope s changes its
// height by s·d. At most one cell, where the raster cannot say more.
double DefaultTolerance(const ElevationRaster& raster, double interval) {
  if (!(raster.steepestSlope > 0)) return raster.cellSize;
  return std::min(raster.cellSize, 0.1 * interval / raster.steepestSlope);
}

[[noreturn]] void OverCapacity(const ImportResult& result, long long entries, long long capacity) {
  throw GisError("the map would hold " + std::to_string(entries) + " entries (" +
                 std::to_string(result.map.contours.size()) + " contours, " +
                 std::to_string(result.map.roughnessLines.size()) +
                 " roughness lines), more than the engine's capacity of " +
                 std::to_string(capacity) + "; make it fit with a coarser --interval (now " +
                 Number(result.interval) + " m), a smaller area (--around X,Y --radius M or " +
                 "--bounds) or more simplification (--simplify M, now " + Number(result.tolerance) +
                 " m); nothing was written");
}
}  // namespace

MapGeoreference LocalOrigin(const Bounds& area, const std::string& crs) {
  return {crs, std::round(area.CentreX() / 1000.0) * 1000.0,
          std::round(area.CentreY() / 1000.0) * 1000.0};
}

ImportResult ImportMap(const ImportRequest& request) {
  const ElevationRaster raster = OpenElevationRaster(request.elevation);
  ImportResult result;
  result.extent = raster.extent;
  result.lowest = raster.minimum;
  result.highest = raster.maximum;
  result.reprojected = raster.reprojected;
  result.reference = LocalOrigin(raster.extent, raster.crsName);
  const double ox = result.reference.originX, oy = result.reference.originY;
  result.intervalChosen = !request.interval;
  result.interval =
      request.interval ? *request.interval : DefaultInterval(raster.minimum, raster.maximum);
  result.tolerance =
      request.simplify ? *request.simplify : DefaultTolerance(raster, result.interval);
  result.map.title = GeoreferencedTitle(
      result.reference, std::filesystem::path(request.elevation.path).filename().string());
  result.map.contours = TraceContours(raster, result.interval, ox, oy, result.tolerance);

  if (request.landCover) {
    MapFrame frame{&raster.crs, ox, oy, raster.extent};
    BoundaryRequest boundaries;
    boundaries.area = {raster.extent.x0 - ox, raster.extent.y0 - oy, raster.extent.x1 - ox,
                       raster.extent.y1 - oy};
    boundaries.defaultZ0 = request.defaultZ0;
    boundaries.source = request.landCover->path;
    if (request.landCover->band) {
      // A raster's cell sides make stairs; thinning by half a cell (the
      // default) turns them into the boundary they stand for.
      boundaries.tolerance = request.simplify ? *request.simplify : -1.0;
      double cell = 0;
      result.map.roughnessLines = RasterBoundaries(*request.landCover, frame, boundaries, cell);
      result.roughnessTolerance = request.simplify ? *request.simplify : 0.5 * cell;
    } else {
      boundaries.tolerance = request.simplify ? *request.simplify : 0.0;
      result.roughnessTolerance = boundaries.tolerance;
      result.map.roughnessLines =
          RoughnessBoundaries(ReadLandCoverPolygons(*request.landCover, frame), boundaries, ox, oy);
    }
  }
  const long long entries = result.map.EntryCount();
  if (entries >= request.capacity) OverCapacity(result, entries, request.capacity);
  return result;
}

}  // namespace kavi::gis
