// kavicalc map through the tool: refusals leave no output, and a site given in
// the CRS of an imported map gives the same prediction as the same site in
// the map's local coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

const std::string kTerrain = std::string(KAVI_SOURCE_DIR) + "/tests/data/field-data/terrain/";

TEST(CliMap, RefusalsSayWhyInOneLineAndWriteNothing) {
  ScopedRegistry registry;
  ScratchFolder files;
  const std::string notRaster = files.Write("x.tif", "not a raster\n");
  const std::string out = files.File("out.map");
  // An ASCII grid has no CRS unless a .prj file names one.
  std::string grid =
      "ncols 4\nnrows 4\nxllcorner 0\nyllcorner 0\ncellsize 10\n"
      "NODATA_value -9999\n";
  std::string noData = grid;
  for (int r = 0; r < 4; ++r) {
    grid += "10 20 30 40\n";
    noData += "-9999 -9999 -9999 -9999\n";
  }
  const std::string noCrs = files.Write("no-crs.asc", grid);
  const std::string allNoData = files.Write("nodata.asc", noData);
  // A square of land cover on Big Butte, in its UTM zone, with the given properties.
  const auto cover = [&](const std::string& name, const std::string& properties) {
    return files.Write(name, R"({"type": "FeatureCollection", "crs": {"type": "name",
      "properties": {"name": "urn:ogc:def:crs:EPSG::32612"}}, "features": [{"type": "Feature",
      "properties": {)" + properties +
                                 R"(}, "geometry": {"type": "Polygon", "coordinates":
      [[[335000, 4806000], [336000, 4806000], [336000, 4807000], [335000, 4807000],
      [335000, 4806000]]]}}]})");
  };
  const std::string butte = kTerrain + "big_butte_small.tif";
  const std::string classes = files.Write("classes.csv", "class,z0\n1,0.03\n2,0.8\n");
  const std::vector<std::vector<std::string>> cases = {
      {"--elevation", notRaster},
      {"--elevation", noCrs},
      {"--elevation", allNoData, "--crs", "EPSG:32632"},
      {"--elevation", butte, "--landcover", cover("named.geojson", R"("z0": 0.8)"), "--z0-field",
       "roughness", "--default-z0", "0.03"},
      {"--elevation", butte, "--landcover", cover("negative.geojson", R"("z0": -0.1)"),
       "--z0-field", "z0", "--default-z0", "0.03"},
      {"--elevation", butte, "--landcover", cover("text.geojson", R"("z0": "rough")"), "--z0-field",
       "z0", "--default-z0", "0.03"},
      {"--elevation", butte, "--landcover", cover("class.geojson", R"("cover": 7)"), "--classes",
       classes, "--class-field", "cover", "--default-z0", "0.03"},
      {"--elevation", kTerrain + "big_butte_small.tif", "--around", "1,1", "--radius", "100"},
      {"--elevation", kTerrain + "example_lcp.tif", "--landcover", kTerrain + "example_lcp.tif",
       "--band", "4", "--classes", std::string(KAVI_SOURCE_DIR) + "/examples/fuel_classes.csv"}};
  for (std::vector<std::string> args : cases) {
    args.insert(args.begin(), {"map", "import"});
    args.insert(args.end(), {"--out", out});
    const ToolResult result = RunKavicalc(args);
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
    EXPECT_FALSE(std::filesystem::exists(out)) << args[3] << " " << args[5];
  }
}

TEST(CliMap, SiteInUtmMatchesTheSameSiteInLocalCoordinates) {
  ScopedRegistry registry;
  ScratchFolder files;
  const std::string map = files.File("butte.map");
  const ToolResult import =
      RunKavicalc({"map", "import", "--elevation", kTerrain + "big_butte_small.tif", "--interval",
                   "25", "--out", map});
  ASSERT_EQ(import.status, 0) << import.err;
  // The same lines under a plain title: local coordinates.
  std::string text = ReadFile(map);
  const std::string local = files.Write("local.map", "+plain" + text.substr(text.find('\n')));
  const std::string atlas = std::string(KAVI_SOURCE_DIR) + "/examples/station.lib";
  const ToolResult utm = RunKavicalc({"predict", "--map", map, "--atlas", atlas, "--height", "50",
                                      "--at", "335950.37,4807300.21", "--format", "csv"});
  const ToolResult plain = RunKavicalc({"predict", "--map", local, "--atlas", atlas, "--height",
                                        "50", "--at", "-49.63,300.21", "--format", "csv"});
  ASSERT_EQ(utm.status, 0) << utm.err;
  ASSERT_EQ(plain.status, 0) << plain.err;
  const auto a = Lines(utm.out), b = Lines(plain.out);
  ASSERT_EQ(a.size(), b.size());
  EXPECT_EQ(a[1].substr(0, a[1].find(",50,")), "335950.37,4807300.21");  // reported in the CRS
  for (std::size_t i = 1; i < a.size(); ++i)
    EXPECT_EQ(a[i].substr(a[i].find(",50,")), b[i].substr(b[i].find(",50,")));
  const ToolResult info = RunKavicalc({"map", "info", map});
  EXPECT_NE(info.out.find("EPSG:32612, origin 336000.00,4807000.00"), std::string::npos)
      << info.out;
}

TEST(CliMap, EachRealRasterImportsLoadsAndPredicts) {
  ScopedRegistry registry;
  ScratchFolder files;
  const std::string classes = std::string(KAVI_SOURCE_DIR) + "/examples/fuel_classes.csv";
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--elevation", kTerrain + "big_butte_small.tif"}, "335950,4807300"},
      {{"--elevation", kTerrain + "mackay_small.tif", "--nodata", "0"}, "291000,4865000"},
      {{"--elevation", kTerrain + "example_lcp.tif", "--landcover", kTerrain + "example_lcp.tif",
        "--band", "4", "--classes", classes, "--around", "715800,5174800", "--radius", "2000"},
       "715800,5174800"}};
  for (const auto& [options, at] : cases) {
    const std::string map = files.File("real.map");
    std::vector<std::string> args = {"map", "import", "--out", map};
    args.insert(args.end(), options.begin(), options.end());
    const ToolResult import = RunKavicalc(args);
    ASSERT_EQ(import.status, 0) << import.err;
    const ToolResult r = RunKavicalc({"predict", "--map", map, "--atlas",
                                      std::string(KAVI_SOURCE_DIR) + "/examples/station.lib",
                                      "--height", "50", "--at", at, "--format", "csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 14u) << r.out;  // 12 sectors and all together
    for (std::size_t i = 1; i < lines.size(); ++i)
      for (std::size_t at = 0, next; at != std::string::npos; at = next) {
        next = lines[i].find(',', at + 1);
        const std::string field = lines[i].substr(at ? at + 1 : 0, next - (at ? at + 1 : 0));
        if (field != "all" && !field.empty()) {
          EXPECT_TRUE(std::isfinite(std::stod(field))) << options[1] << ": " << lines[i];
        }
      }
  }
}

// The example map holds 18 contours, 4 roughness-change lines and 4 coast
// lines that are both (examples/generate_examples.py); turbines.csv 20 sites.
TEST(CliMap, PlotDrawsEveryLineAndSiteAndRefusesBadInput) {
  ScopedRegistry registry;
  ScratchFolder files;
  const std::string examples = std::string(KAVI_SOURCE_DIR) + "/examples/";
  const std::string svg = files.File("map.svg");
  const ToolResult plot = RunKavicalc({"map", "plot", examples + "site.map", "--sites",
                                       examples + "turbines.csv", "--at", "0,0", "--out", svg});
  ASSERT_EQ(plot.status, 0) << plot.err;
  const std::string text = ReadFile(svg);
  const auto count = [&](const std::string& cls) {
    std::size_t n = 0;
    for (auto at = text.find("class=\"" + cls + "\""); at != std::string::npos;
         at = text.find("class=\"" + cls + "\"", at + 1))
      ++n;
    return n;
  };
  EXPECT_EQ(count("contour"), 22u);
  EXPECT_EQ(count("roughness-change"), 8u);
  EXPECT_EQ(count("site"), 21u);
  EXPECT_EQ(count("site-label"), 21u);
  EXPECT_GT(count("contour-label"), 0u);
  EXPECT_EQ(text.rfind("</svg>"), text.size() - std::string("</svg>\n").size());

  const std::string out = files.File("refused.svg");
  const std::vector<std::pair<std::vector<std::string>, int>> refusals = {
      {{"map", "plot", files.File("missing.map"), "--out", out}, 1},
      {{"map", "plot", examples + "site.map", "--at", "1,x", "--out", out}, 2},
      {{"map", "plot", examples + "site.map", "--out", files.File("no/such/folder.svg")}, 1}};
  for (const auto& [args, status] : refusals) {
    const ToolResult result = RunKavicalc(args);
    EXPECT_EQ(result.status, status) << result.err;
    EXPECT_EQ(Lines(result.err).size(), 1u) << result.err;
    EXPECT_FALSE(std::filesystem::exists(out)) << args[2];
  }
}

}  // namespace
}  // namespace kavi::e2e
