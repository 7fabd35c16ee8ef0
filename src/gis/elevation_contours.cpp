#include "gis/elevation_contours.h"

#include <gdal_alg.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <string>

namespace kavi::gis {

namespace {
Polyline LocalLine(const OGRLineString& line, double originX, double originY) {
  Polyline points;
  points.reserve(static_cast<std::size_t>(line.getNumPoints()));
  for (int i = 0; i < line.getNumPoints(); ++i)
    points.push_back({line.getX(i) - originX, line.getY(i) - originY});
  return points;
}

void AddLines(const OGRGeometry* geometry, double elevation, double originX, double originY,
              double tolerance, std::vector<Contour>& contours) {
  if (!geometry) return;
  const auto type = wkbFlatten(geometry->getGeometryType());
  if (type == wkbMultiLineString) {
    for (const OGRGeometry* part : *geometry->toMultiLineString())
      AddLines(part, elevation, originX, originY, tolerance, contours);
    return;
  }
  if (type != wkbLineString) return;
  OGRLineString local;
  for (const LocalPoint& p : LocalLine(*geometry->toLineString(), originX, originY))
    local.addPoint(p.x, p.y);
  if (tolerance > 0) {
    std::unique_ptr<OGRGeometry> thin(local.SimplifyPreserveTopology(tolerance));
    if (thin && wkbFlatten(thin->getGeometryType()) == wkbLineString &&
        thin->toLineString()->getNumPoints() >= 2) {
      contours.push_back({elevation, LocalLine(*thin->toLineString(), 0, 0)});
      return;
    }
  }
  if (local.getNumPoints() >= 2) contours.push_back({elevation, LocalLine(local, 0, 0)});
}
}  // namespace

double DefaultInterval(double lowest, double highest) {
  const double span = highest - lowest;
  if (!(span > 0)) return 1.0;
  const double raw = span / 25.0;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 2.5, 5.0})
    if (raw <= m * power * 1.0000001) return m * power;
  return 10.0 * power;
}

std::vector<Contour> TraceContours(const ElevationRaster& raster, double interval, double originX,
                                   double originY, double tolerance) {
  GDALDriver* memory = GetGDALDriverManager()->GetDriverByName("Memory");
  DatasetPtr store(memory->Create("contours", 0, 0, 0, GDT_Unknown, nullptr));
  OGRSpatialReference crs(raster.crs);
  OGRLayer* layer = store->CreateLayer("contours", &crs, wkbLineString, nullptr);
  OGRFieldDefn id("id", OFTInteger), elev("elev", OFTReal);
  layer->CreateField(&id);
  layer->CreateField(&elev);

  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g", interval);
  CPLStringList options;
  options.SetNameValue("LEVEL_INTERVAL", buffer);
  options.SetNameValue("ID_FIELD", "0");
  options.SetNameValue("ELEV_FIELD", "1");
  if (raster.noData) {
    std::snprintf(buffer, sizeof buffer, "%.17g", *raster.noData);
    options.SetNameValue("NODATA", buffer);
  }
  if (GDALContourGenerateEx(GDALRasterBand::ToHandle(raster.band), OGRLayer::ToHandle(layer),
                            options.List(), nullptr, nullptr) != CE_None)
    throw GisError("cannot trace the contours: " + LastGdalMessage("GDAL failed"));

  std::vector<Contour> contours;
  layer->ResetReading();
  for (auto& feature : *layer)
    AddLines(feature->GetGeometryRef(), feature->GetFieldAsDouble(1), originX, originY, tolerance,
             contours);
  return contours;
}

}  // namespace kavi::gis
