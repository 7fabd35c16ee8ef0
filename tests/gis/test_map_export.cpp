// Export of a map's lines read back with OGR, as a GIS reads them: every line
// a feature, in order, with its kind, elevation, roughness on either side and
// every vertex, in the map's CRS when it records one.
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "gis/map_export.h"
#include "gis/map_lines.h"

namespace {

using kavi::gis::MapLines;

void ExpectFeaturesAreTheLines(const std::string& path, const MapLines& map, double ox, double oy) {
  GDALAllRegister();
  GDALDataset* data = static_cast<GDALDataset*>(
      GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
  ASSERT_NE(data, nullptr) << path;
  OGRLayer* layer = data->GetLayer(0);
  ASSERT_EQ(layer->GetFeatureCount(), static_cast<GIntBig>(map.lines.size())) << path;
  const OGRSpatialReference* crs = layer->GetSpatialRef();
  if (ox != 0.0) {
    ASSERT_NE(crs, nullptr) << path;
    EXPECT_STREQ(crs->GetAuthorityCode(nullptr), "32612") << path;
  }
  layer->ResetReading();
  std::size_t index = 0;
  for (OGRFeature* feature; (feature = layer->GetNextFeature()) != nullptr; ++index) {
    const kavi::gis::MapLine& line = map.lines[index];
    if (line.IsContour())
      EXPECT_EQ(feature->GetFieldAsDouble("elevation"), line.elevation) << index;
    else
      EXPECT_FALSE(feature->IsFieldSetAndNotNull(feature->GetFieldIndex("elevation"))) << index;
    if (line.IsRoughnessChange()) {
      EXPECT_EQ(feature->GetFieldAsDouble("z0_left"), line.z0Left) << index;
      EXPECT_EQ(feature->GetFieldAsDouble("z0_right"), line.z0Right) << index;
    }
    const OGRLineString* geometry = feature->GetGeometryRef()->toLineString();
    ASSERT_EQ(geometry->getNumPoints(), static_cast<int>(line.points.size())) << index;
    for (int i = 0; i < geometry->getNumPoints(); ++i) {
      // GeoJSON writes 15 significant digits: centimetres at UTM northings.
      EXPECT_NEAR(geometry->getX(i), ox + line.points[static_cast<std::size_t>(i)].x, 1e-6);
      EXPECT_NEAR(geometry->getY(i), oy + line.points[static_cast<std::size_t>(i)].y, 1e-6);
    }
    OGRFeature::DestroyFeature(feature);
  }
  EXPECT_EQ(index, map.lines.size());
  GDALClose(data);
}

TEST(ExportMapLines, EveryLineComesBackAsAFeatureInGeoJsonAndGeoPackage) {
  const MapLines map = kavi::gis::ReadMapLines(KAVI_SOURCE_DIR "/examples/site.map", 500000);
  ASSERT_EQ(map.lines.size(), 26u);
  const kavi::gis::MapGeoreference utm{"EPSG:32612", 336000.0, 4807000.0};
  for (const char* name : {"site.geojson", "site.gpkg", "site-utm.geojson", "site-utm.gpkg"}) {
    const std::string path = name;
    std::filesystem::remove(path);
    const bool georeferenced = path.find("utm") != std::string::npos;
    kavi::gis::ExportMapLines(map, georeferenced ? std::optional(utm) : std::nullopt, path,
                              kavi::gis::ExportDriverFor(path));
    ExpectFeaturesAreTheLines(path, map, georeferenced ? utm.originX : 0.0,
                              georeferenced ? utm.originY : 0.0);
  }
}

}  // namespace
