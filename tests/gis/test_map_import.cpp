// Maps made from GIS data: contours of real and synthetic rasters, roughness
// lines of land cover of known geometry, and the refusals of bad input.
#include <gdal_priv.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "gis/map_import.h"

namespace kavi::gis {
namespace {

const std::string kTerrain = std::string(KAVI_SOURCE_DIR) + "/tests/data/field-data/terrain/";

std::string WriteFile(const std::string& name, const std::string& text) {
  std::ofstream(name) << text;
  return name;
}

// An ASCII grid without CRS: cols × rows cells of 10 m from (500000, 5000000),
// value(column, row from the south).
template <typename Value>
std::string AsciiGrid(const std::string& name, int cols, int rows, Value value) {
  std::string text = "ncols " + std::to_string(cols) + "\nnrows " + std::to_string(rows) +
                     "\nxllcorner 500000\nyllcorner 5000000\ncellsize 10\nNODATA_value -9999\n";
  for (int r = rows - 1; r >= 0; --r) {
    for (int c = 0; c < cols; ++c) text += std::to_string(value(c, r)) + " ";
    text += "\n";
  }
  return WriteFile(name, text);
}

bool Inside(const Polyline& ring, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
    const LocalPoint& u = ring[i];
    const LocalPoint& v = ring[i + 1];
    if ((u.y > y) != (v.y > y) && x < u.x + (y - u.y) * (v.x - u.x) / (v.y - u.y)) inside = !inside;
  }
  return inside;
}

TEST(ImportMap, BigButteSummitComesOutAtItsHeightAndPosition) {
  // The summit found independently: the highest cell of the raster.
  GDALAllRegister();
  const std::string path = kTerrain + "big_butte_small.tif";
  GDALDataset* raw = GDALDataset::Open(path.c_str(), GDAL_OF_RASTER);
  ASSERT_NE(raw, nullptr);
  const int w = raw->GetRasterXSize(), h = raw->GetRasterYSize();
  std::vector<float> cells(static_cast<std::size_t>(w) * h);
  ASSERT_EQ(
      raw->GetRasterBand(1)->RasterIO(GF_Read, 0, 0, w, h, cells.data(), w, h, GDT_Float32, 0, 0),
      CE_None);
  double t[6];
  raw->GetGeoTransform(t);
  GDALClose(raw);
  std::size_t top = 0;
  for (std::size_t i = 0; i < cells.size(); ++i)
    if (cells[i] > cells[top]) top = i;
  const double summitX = t[0] + (static_cast<double>(top % w) + 0.5) * t[1];
  const double summitY = t[3] + (static_cast<double>(top / w) + 0.5) * t[5];

  ImportRequest request;
  request.elevation.path = path;
  request.interval = 10;
  request.capacity = 500000;
  const ImportResult result = ImportMap(request);
  EXPECT_EQ(result.reference.crs, "EPSG:32612");
  EXPECT_FALSE(result.reprojected);
  EXPECT_DOUBLE_EQ(result.highest, cells[top]);
  const Contour* highest = &result.map.contours.front();
  for (const Contour& c : result.map.contours)
    if (c.elevation > highest->elevation) highest = &c;
  EXPECT_LE(highest->elevation, cells[top]);
  EXPECT_GT(highest->elevation, cells[top] - 10);
  // The top contour closes around the summit, in the CRS's own coordinates.
  const Polyline& ring = highest->points;
  ASSERT_TRUE(ring.front().x == ring.back().x && ring.front().y == ring.back().y);
  EXPECT_TRUE(Inside(ring, summitX - result.reference.originX, summitY - result.reference.originY));
  // The title records CRS and origin exactly.
  const auto parsed = ParseGeoreferencedTitle(result.map.title);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->crs, "EPSG:32612");
  EXPECT_EQ(parsed->originX, result.reference.originX);
  EXPECT_EQ(parsed->originY, result.reference.originY);
  EXPECT_EQ(std::fmod(parsed->originY, 1000.0), 0.0);
}

TEST(ImportMap, ForestAndLakePolygonsGiveEachBoundaryOnceWithItsSides) {
  const std::string dem = AsciiGrid("flat.asc", 100, 100, [](int, int) { return 50; });
  // Forest 200..400 × 200..400 m and the lake right beside it, 400..600 × 200..400
  // (they share the edge x = 400), in farmland of the default z0.
  const std::string cover = WriteFile("cover.geojson",
                                      R"({"type":"FeatureCollection",
"crs":{"type":"name","properties":{"name":"EPSG:32632"}},"features":[
{"type":"Feature","properties":{"z0":0.8},"geometry":{"type":"Polygon","coordinates":
[[[500200,5000200],[500400,5000200],[500400,5000400],[500200,5000400],[500200,5000200]]]}},
{"type":"Feature","properties":{"z0":0},"geometry":{"type":"Polygon","coordinates":
[[[500400,5000200],[500400,5000400],[500600,5000400],[500600,5000200],[500400,5000200]]]}}]})");
  ImportRequest request;
  request.elevation.path = dem;
  request.elevation.crs = "EPSG:32632";
  request.capacity = 500000;
  request.landCover = LandCoverRequest{cover, std::string("z0"), {}, {}, nullptr};
  request.defaultZ0 = 0.03;
  const ImportResult result = ImportMap(request);
  const double ox = result.reference.originX, oy = result.reference.originY;
  double length[3] = {0, 0, 0};  // forest|farm, lake|farm, forest|lake
  for (const RoughnessLine& line : result.map.roughnessLines) {
    const double lo = std::min(line.z0Left, line.z0Right), hi = std::max(line.z0Left, line.z0Right);
    double l = 0;
    for (std::size_t i = 0; i + 1 < line.points.size(); ++i) {
      const LocalPoint& a = line.points[i];
      const LocalPoint& b = line.points[i + 1];
      l += std::hypot(b.x - a.x, b.y - a.y);
      // The side's z0 matches the geometry: look just to the left of the middle.
      const double mx = 0.5 * (a.x + b.x) + ox - 500000, my = 0.5 * (a.y + b.y) + oy - 5000000;
      const double nx = -(b.y - a.y), ny = b.x - a.x, n = std::hypot(nx, ny);
      const double px = mx + nx / n, py = my + ny / n;
      const bool inForest = px > 200 && px < 400 && py > 200 && py < 400;
      const bool inLake = px > 400 && px < 600 && py > 200 && py < 400;
      EXPECT_EQ(line.z0Left, inForest ? 0.8 : inLake ? 0.0 : 0.03) << px << "," << py;
    }
    if (lo == 0.03 && hi == 0.8)
      length[0] += l;
    else if (lo == 0.0 && hi == 0.03)
      length[1] += l;
    else if (lo == 0.0 && hi == 0.8)
      length[2] += l;
    else
      ADD_FAILURE() << "unexpected pair " << lo << "/" << hi;
  }
  EXPECT_NEAR(length[0], 600, 1e-6);  // three sides of the forest, once
  EXPECT_NEAR(length[1], 600, 1e-6);
  EXPECT_NEAR(length[2], 200, 1e-6);  // the shared edge, once
}

TEST(ImportMap, ClassifiedRasterGivesBoundariesOnCellSides) {
  const std::string dem = AsciiGrid("flat2.asc", 60, 60, [](int, int) { return 10; });
  // Classes: 1 farmland, 2 forest on columns 20..39, rows 20..39; 3 water on columns 50..59.
  const std::string classes = AsciiGrid("classes.asc", 60, 60, [](int c, int r) {
    return c >= 50 ? 3 : (c >= 20 && c < 40 && r >= 20 && r < 40) ? 2 : 1;
  });
  const std::string table =
      WriteFile("classes.csv", "class,z0,name\n1,0.03,farm\n2,0.5,forest\n3,0,water\n");
  const ClassTable read = ReadClassTable(table);
  ImportRequest request;
  request.elevation.path = dem;
  request.elevation.crs = "EPSG:32632";
  request.capacity = 500000;
  request.landCover = LandCoverRequest{classes, {}, {}, 1, &read};
  const ImportResult result = ImportMap(request);
  const double ox = result.reference.originX - 500000, oy = result.reference.originY - 5000000;
  bool sawWater = false, sawForest = false;
  for (const RoughnessLine& line : result.map.roughnessLines) {
    for (const LocalPoint& p : line.points) {
      const double x = p.x + ox, y = p.y + oy;
      if (line.z0Left == 0.0 || line.z0Right == 0.0) {
        sawWater = true;
        EXPECT_NEAR(x, 500, 10);  // the shore at column 50, within a cell
      } else {
        sawForest = true;
        const double d =
            std::min({std::abs(x - 200), std::abs(x - 400), std::abs(y - 200), std::abs(y - 400)});
        EXPECT_LE(d, 10) << x << "," << y;
      }
    }
  }
  EXPECT_TRUE(sawWater && sawForest);
}

TEST(ImportMap, BadInputIsRefusedNamingTheFault) {
  const std::string notRaster = WriteFile("not_a_raster.tif", "hello\n");
  const std::string dem = AsciiGrid("dem.asc", 20, 20, [](int c, int r) { return c + r; });
  const std::string empty = AsciiGrid("empty.asc", 5, 5, [](int, int) { return -9999; });
  auto expectRefusal = [](ImportRequest request, const std::string& words) {
    request.capacity = request.capacity ? request.capacity : 500000;
    try {
      ImportMap(request);
      ADD_FAILURE() << "not refused: " << words;
    } catch (const GisError& error) {
      EXPECT_NE(std::string(error.what()).find(words), std::string::npos) << error.what();
    }
  };
  ImportRequest r;
  r.elevation.path = notRaster;
  expectRefusal(r, "is not a raster");
  r.elevation.path = dem;
  expectRefusal(r, "no coordinate reference system");
  r.elevation.crs = "EPSG:32632";
  r.elevation.area.centreX = 400000;
  r.elevation.area.centreY = 5000100;
  r.elevation.area.radius = 100;
  expectRefusal(r, "is outside the raster");
  r.elevation.area = {};
  r.capacity = 30;
  expectRefusal(r, "more than the engine's capacity of 30");
  r.capacity = 0;
  ImportRequest e;
  e.elevation.path = empty;
  e.elevation.crs = "EPSG:32632";
  expectRefusal(e, "all no data");

  const std::string cover = WriteFile("nofield.geojson",
                                      R"({"type":"FeatureCollection",
"crs":{"type":"name","properties":{"name":"EPSG:32632"}},"features":[{"type":"Feature","properties":{"code":"x"},
"geometry":{"type":"Polygon","coordinates":[[[500010,5000010],[500050,5000010],[500050,5000050],[500010,5000010]]]}}]})");
  ImportRequest l = r;
  l.landCover = LandCoverRequest{cover, std::string("z0"), {}, {}, nullptr};
  expectRefusal(l, "has no field 'z0'");
  const ClassTable table = ReadClassTable(WriteFile("t.csv", "class,z0\ny,0.1\n"));
  l.landCover = LandCoverRequest{cover, {}, std::string("code"), {}, &table};
  expectRefusal(l, "class x is missing from the class table");
  const ClassTable complete = ReadClassTable(WriteFile("t2.csv", "x,0.1\n"));
  l.landCover = LandCoverRequest{cover, {}, std::string("code"), {}, &complete};
  expectRefusal(l, "--default-z0");

  for (const char* bad : {"a,-0.1\n", "a,abc\n", "a,0.1\na,0.2\n"}) {
    EXPECT_THROW(ReadClassTable(WriteFile("bad.csv", bad)), GisError) << bad;
  }
}

}  // namespace
}  // namespace kavi::gis
