// Maps imported from GIS data of known geometry, written here with GDAL, give
// what the geometry itself gives: a Gaussian hill's speed-up as on a map of its
// exact contours, and roughness roses whose changes lie where a ray from the
// site meets the edges of a forest square and a lake.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>

#include "support/example_files.h"
#include "support/json_reader.h"
#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

constexpr double kPi = 3.14159265358979323846;
const std::string kAtlas = std::string(KAVI_SOURCE_DIR) + "/examples/station.lib";

// A one-band GeoTIFF in UTM 32N of cols × rows square cells from (x0, y0) at its
// south-west corner; value(x, y) at each cell's centre, written row by row.
void WriteRaster(const std::string& path, int cols, int rows, double x0, double y0, double cell,
                 GDALDataType type, const std::function<double(double, double)>& value) {
  GDALAllRegister();
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
  GDALDataset* raster = driver->Create(path.c_str(), cols, rows, 1, type, nullptr);
  ASSERT_NE(raster, nullptr);
  double transform[6] = {x0, cell, 0, y0 + rows * cell, 0, -cell};
  raster->SetGeoTransform(transform);
  OGRSpatialReference crs;
  crs.importFromEPSG(32632);
  raster->SetSpatialRef(&crs);
  std::vector<double> line(cols);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c)
      line[c] = value(x0 + (c + 0.5) * cell, y0 + (rows - r - 0.5) * cell);
    ASSERT_EQ(raster->GetRasterBand(1)->RasterIO(GF_Write, 0, r, cols, 1, line.data(), cols, 1,
                                                 GDT_Float64, 0, 0),
              CE_None);
  }
  GDALClose(raster);
}

JsonValue PredictAt(const std::string& map, const std::string& at) {
  const ToolResult r = RunKavicalc({"predict", "--map", map, "--atlas", kAtlas, "--height", "10",
                                    "--at", at, "--format", "json"});
  EXPECT_EQ(r.status, 0) << r.err;
  return r.status == 0 ? ParseJson(r.out)["sites"][0] : JsonValue{};
}

TEST(CliMapGeometry, GaussianHillRasterSpeedsUpLikeItsExactContours) {
  ScopedRegistry registry;
  ScratchFolder files;
  // H·2^(−r²/L²) with its top 0.5 m above the 40 m contour, so that the top
  // ring of a 5 m interval closes near the summit as the exact map's does.
  const double H = 40.5, L = 400, topX = 451530, topY = 5412270;
  const std::string dem = files.File("hill.tif");
  WriteRaster(dem, 400, 400, topX - 2000, topY - 2000, 10, GDT_Float32, [&](double x, double y) {
    return H * std::exp2(-(std::pow(x - topX, 2) + std::pow(y - topY, 2)) / (L * L));
  });
  const std::string imported = files.File("hill.map");
  const ToolResult made =
      RunKavicalc({"map", "import", "--elevation", dem, "--interval", "5", "--out", imported});
  ASSERT_EQ(made.status, 0) << made.err;

  const JsonValue onImport = PredictAt(imported, "451530,5412270");
  const JsonValue onExact = PredictAt(files.Write("exact.map", GaussianHillMapText(H, L)), "0,0");
  const JsonValue onFlat = PredictAt(files.Write("flat.map", FlatMapText()), "0,0");
  ASSERT_EQ(onImport["sectors"].items.size(), 12u);
  EXPECT_NEAR(onImport["elevation"].number, onExact["elevation"].number, 1.0);
  const auto speedUp = [&](const JsonValue& site, std::size_t s) {
    return site["sectors"][s]["weibull_a"].number / onFlat["sectors"][s]["weibull_a"].number - 1;
  };
  for (std::size_t s = 0; s < 12; ++s) {
    EXPECT_GT(speedUp(onExact, s), 0.05) << "sector " << s + 1;
    EXPECT_NEAR(speedUp(onImport, s), speedUp(onExact, s), 0.02) << "sector " << s + 1;
  }
}

// Farmland (z0 0.03 m) with a forest square (0.8 m) and, along its east side,
// a lake (water, 0), in the frame of a 2 km square raster of 10 m cells.
struct Area {
  double x0, y0, x1, y1, z0;
};
constexpr double kFarm = 0.03;
constexpr Area kForest{800, 800, 1200, 1200, 0.8};
constexpr Area kLake{1200, 700, 1600, 1300, 0.0};
constexpr double kWest = 500000, kSouth = 5000000, kSide = 2000;

double Z0At(double x, double y) {
  for (const Area& a : {kForest, kLake})
    if (x > a.x0 && x < a.x1 && y > a.y0 && y < a.y1) return a.z0;
  return kFarm;
}

// The roughness met along the ray from (x, y) towards the bearing, and the
// distances of its changes, from where the ray crosses the areas' sides.
struct RayProfile {
  std::vector<double> z0, distances;
};
RayProfile AlongRay(double x, double y, double bearing) {
  const double ux = std::sin(bearing * kPi / 180), uy = std::cos(bearing * kPi / 180);
  std::vector<double> t;
  for (const Area& a : {kForest, kLake}) {
    for (double sideX : {a.x0, a.x1})
      if (std::abs(ux) > 1e-12) t.push_back((sideX - x) / ux);
    for (double sideY : {a.y0, a.y1})
      if (std::abs(uy) > 1e-12) t.push_back((sideY - y) / uy);
  }
  std::erase_if(t, [](double d) { return !(d > 0); });
  std::sort(t.begin(), t.end());
  RayProfile ray{{Z0At(x + 1e-6 * ux, y + 1e-6 * uy)}, {}};
  for (double d : t) {
    const double z = Z0At(x + (d + 1e-6) * ux, y + (d + 1e-6) * uy);
    if (z != ray.z0.back()) {
      ray.z0.push_back(z);
      ray.distances.push_back(d);
    }
  }
  return ray;
}

// A roughness rose file: per sector its rings' z0 and its change distances.
std::vector<RayProfile> ReadRose(const std::string& path) {
  std::istringstream in(ReadFile(path));
  std::string skip;
  std::getline(in, skip);
  std::getline(in, skip);
  std::size_t n = 0;
  in >> n;
  std::vector<int> changes(n);
  for (int& c : changes) in >> c;
  const int most = changes.empty() ? 0 : *std::max_element(changes.begin(), changes.end());
  std::vector<std::vector<double>> z0(most + 1, std::vector<double>(n)), d(most, z0[0]);
  for (int r = 0; r <= most; ++r) {
    for (double& v : z0[r]) in >> v;
    if (r < most)
      for (double& v : d[r]) in >> v;
  }
  EXPECT_FALSE(in.fail()) << path;
  std::vector<RayProfile> rose(n);
  for (std::size_t s = 0; s < n; ++s)
    for (int r = 0; r <= changes[s]; ++r) {
      rose[s].z0.push_back(z0[r][s]);
      if (r < changes[s]) rose[s].distances.push_back(d[r][s]);
    }
  return rose;
}

TEST(CliMapGeometry, LandCoverRosesChangeWhereTheRaysMeetTheAreas) {
  ScopedRegistry registry;
  ScratchFolder files;
  const std::string dem = files.File("flat.tif");
  WriteRaster(dem, 200, 200, kWest, kSouth, 10, GDT_Float32, [](double, double) { return 50; });

  // Once as polygons in a GeoPackage with a z0 field, once as classes in a raster.
  const std::string polygons = files.File("cover.gpkg");
  {
    GDALDataset* store = GetGDALDriverManager()->GetDriverByName("GPKG")->Create(
        polygons.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    ASSERT_NE(store, nullptr);
    OGRSpatialReference crs;
    crs.importFromEPSG(32632);
    OGRLayer* layer = store->CreateLayer("cover", &crs, wkbPolygon, nullptr);
    OGRFieldDefn field("z0", OFTReal);
    layer->CreateField(&field);
    for (const Area& a : {kForest, kLake}) {
      OGRLinearRing ring;
      for (auto [x, y] : {std::pair{a.x0, a.y0}, {a.x1, a.y0}, {a.x1, a.y1}, {a.x0, a.y1}})
        ring.addPoint(kWest + x, kSouth + y);
      ring.closeRings();
      OGRPolygon polygon;
      polygon.addRing(&ring);
      OGRFeature feature(layer->GetLayerDefn());
      feature.SetField("z0", a.z0);
      feature.SetGeometry(&polygon);
      ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
    }
    GDALClose(store);
  }
  const std::string classes = files.File("classes.tif");
  WriteRaster(classes, 200, 200, kWest, kSouth, 10, GDT_Byte, [](double x, double y) {
    const double z0 = Z0At(x - kWest, y - kSouth);
    return z0 == kFarm ? 1 : z0 == 0 ? 3 : 2;
  });
  const std::string table = files.Write("classes.csv",
                                        "class,z0,name\n1,0.03,farm\n2,0.8,forest\n"
                                        "3,0,lake\n");
  struct Source {
    std::vector<std::string> options;
    double tolerance;  // of a change distance d: 1 % for polygons, one cell for the raster
    bool relative;
  };
  const std::vector<Source> sources = {
      {{"--landcover", polygons, "--z0-field", "z0", "--default-z0", "0.03"}, 0.01, true},
      {{"--landcover", classes, "--band", "1", "--classes", table}, 10.0, false}};
  // Inside the forest, in the farmland west of it and south of it.
  const std::vector<std::pair<double, double>> sites = {{1000, 1000}, {400, 1000}, {1000, 300}};
  for (const Source& source : sources) {
    const std::string map = files.File("cover.map");
    std::vector<std::string> import = {"map", "import", "--elevation", dem, "--out", map};
    import.insert(import.end(), source.options.begin(), source.options.end());
    const ToolResult made = RunKavicalc(import);
    ASSERT_EQ(made.status, 0) << made.err;
    for (auto [x, y] : sites) {
      // One ray per sector, along its centre line, so that each change is
      // where that ray crosses a side.
      const std::string rose = files.File("site.rrd");
      const std::string at = std::to_string(kWest + x) + "," + std::to_string(kSouth + y);
      const ToolResult r = RunKavicalc({"rose", "--map", map, "--sectors", "12", "--at", at,
                                        "--out", rose, "--set", "RNUMSECT=1"});
      ASSERT_EQ(r.status, 0) << r.err;
      const std::vector<RayProfile> got = ReadRose(rose);
      ASSERT_EQ(got.size(), 12u);
      for (int s = 0; s < 12; ++s) {
        const RayProfile want = AlongRay(x, y, 30.0 * s);
        const std::string where =
            source.options[1] + " site " + at + " sector " + std::to_string(s + 1);
        ASSERT_EQ(got[s].z0.size(), want.z0.size()) << where;
        for (std::size_t i = 0; i < want.z0.size(); ++i)
          EXPECT_NEAR(got[s].z0[i], want.z0[i], 1e-4 * want.z0[i]) << where << " ring " << i;
        for (std::size_t i = 0; i < want.distances.size(); ++i)
          EXPECT_NEAR(got[s].distances[i], want.distances[i],
                      source.relative ? source.tolerance * want.distances[i] : source.tolerance)
              << where << " change " << i;
      }
    }
  }
}

}  // namespace
}  // namespace kavi::e2e
