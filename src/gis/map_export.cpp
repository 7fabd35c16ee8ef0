#include "gis/map_export.h"

#include <ogrsf_frmts.h>

#include <algorithm>
#include <filesystem>

#include "gis/gdal_support.h"

namespace kavi::gis {

namespace {
const char* KindName(MapLineKind kind) {
  switch (kind) {
    case MapLineKind::kContour:
      return "contour";
    case MapLineKind::kRoughness:
      return "roughness";
    default:
      return "contour+roughness";
  }
}

void Check(OGRErr error, const std::string& path) {
  if (error != OGRERR_NONE)
    throw GisError("cannot write " + path + ": " + LastGdalMessage("GDAL failed"));
}
}  // namespace

std::string ExportDriverFor(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  if (ext == ".geojson" || ext == ".json") return "GeoJSON";
  if (ext == ".gpkg") return "GPKG";
  return "";
}

void ExportMapLines(const MapLines& map, const std::optional<MapGeoreference>& reference,
                    const std::string& path, const std::string& driverName) {
  InitGdal();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName.c_str());
  if (!driver) throw GisError("GDAL has no " + driverName + " driver");
  DatasetPtr dataset(driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  if (!dataset) throw GisError("cannot create " + path + ": " + LastGdalMessage("GDAL failed"));
  std::optional<OGRSpatialReference> crs;
  if (reference) crs = SpatialReferenceFrom(reference->crs, "the map's CRS");
  OGRLayer* layer =
      dataset->CreateLayer("map_lines", crs ? &*crs : nullptr, wkbLineString, nullptr);
  if (!layer)
    throw GisError("cannot create a layer in " + path + ": " + LastGdalMessage("GDAL failed"));
  OGRFieldDefn kind("kind", OFTString), elevation("elevation", OFTReal), left("z0_left", OFTReal),
      right("z0_right", OFTReal);
  for (OGRFieldDefn* field : {&kind, &elevation, &left, &right})
    Check(layer->CreateField(field), path);
  const double ox = reference ? reference->originX : 0.0;
  const double oy = reference ? reference->originY : 0.0;
  dataset->StartTransaction();
  for (const MapLine& line : map.lines) {
    OGRFeature feature(layer->GetLayerDefn());
    feature.SetField("kind", KindName(line.kind));
    if (line.IsContour()) feature.SetField("elevation", static_cast<double>(line.elevation));
    if (line.IsRoughnessChange()) {
      feature.SetField("z0_left", static_cast<double>(line.z0Left));
      feature.SetField("z0_right", static_cast<double>(line.z0Right));
    }
    OGRLineString geometry;
    for (const MapPoint& p : line.points) geometry.addPoint(ox + p.x, oy + p.y);
    feature.SetGeometry(&geometry);
    Check(layer->CreateFeature(&feature), path);
  }
  dataset->CommitTransaction();
  dataset->FlushCache();
  if (CPLGetLastErrorType() >= CE_Failure)
    throw GisError("cannot write " + path + ": " + LastGdalMessage("GDAL failed"));
}

}  // namespace kavi::gis
