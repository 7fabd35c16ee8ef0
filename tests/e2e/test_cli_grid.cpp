// kavicalc grid and the energy options of predict, end to end: the GeoTIFF,
// NetCDF and CSV grids read back with the field's own readers hold what
// predict gives at the same node, the output does not depend on --jobs,
// failing nodes are counted and reported, and bad input leaves no file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "support/example_files.h"
#include "support/json_reader.h"
#include "support/tool_run.h"
#include "support/xml_reader.h"

namespace kavi::e2e {
namespace {

const std::string kExamples = KAVI_SOURCE_DIR "/examples/";
const std::string kPython = "/usr/bin/python3";

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.push_back("");
  return fields;
}

// The node as read_grid.py prints it from the file.
JsonValue ReadNode(const std::string& file, double x, double y, double height) {
  const ToolResult read =
      RunProgram(kPython, {KAVI_SOURCE_DIR "/tests/e2e/support/read_grid.py", file,
                           std::to_string(x), std::to_string(y), std::to_string(height)});
  if (read.status != 0) throw std::runtime_error("read_grid.py failed: " + read.err);
  return ParseJson(read.out);
}

// A grid value in single precision against predict's double.
void ExpectSingle(const JsonValue& stored, double expected, const std::string& what) {
  ASSERT_EQ(stored.kind, JsonValue::Kind::Number) << what;
  EXPECT_NEAR(stored.number, expected, 1e-6 * std::abs(expected) + 1e-6) << what;
}

class CliGridTest : public ::testing::Test {
 protected:
  std::vector<std::string> Grid(const std::string& out, std::vector<std::string> more) const {
    std::vector<std::string> args = {"grid",
                                     "--map",
                                     kExamples + "site.map",
                                     "--atlas",
                                     kExamples + "station.lib",
                                     "--height",
                                     "50,80",
                                     "--bounds",
                                     "-500,-500,500,500",
                                     "--spacing",
                                     "500",
                                     "--out",
                                     out};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
  ScopedRegistry registry_;
  ScratchFolder files_;
};

TEST_F(CliGridTest, GeoTiffNetcdfAndCsvHoldWhatPredictGives) {
  const std::string curve = kExamples + "ge120_2750kw.csv";
  const std::vector<std::string> energy = {"--power-curve", curve, "--jobs", "2"};
  const std::string nc = files_.File("grid.nc"), tif = files_.File("grid.tif"),
                    csv = files_.File("grid.csv");
  for (const std::string& out : {nc, tif, csv}) {
    const ToolResult run = RunKavicalc(Grid(out, energy));
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(std::filesystem::exists(out));
  }
  const ToolResult predicted =
      RunKavicalc({"predict", "--map", kExamples + "site.map", "--atlas", kExamples + "station.lib",
                   "--height", "80", "--at", "500,0", "--format", "json", "--power-curve", curve});
  ASSERT_EQ(predicted.status, 0) << predicted.err;
  const JsonValue site = ParseJson(predicted.out)["sites"][0];

  const JsonValue fromNetcdf = ReadNode(nc, 500, 0, 80);
  const JsonValue fromTiff = ReadNode(tif, 500, 0, 80);
  for (const char* name : {"elevation", "mean_speed", "power_density", "weibull_a", "weibull_k",
                           "aep", "capacity_factor"}) {
    ExpectSingle(fromNetcdf[name], site[name].number, std::string("NetCDF ") + name);
    ExpectSingle(fromTiff[name], site[name].number, std::string("GeoTIFF ") + name);
  }
  const JsonValue& sectors = site["sectors"];
  ASSERT_EQ(fromNetcdf["sector_frequency"].items.size(), sectors.items.size());
  for (std::size_t s = 0; s < sectors.items.size(); ++s) {
    ExpectSingle(fromNetcdf["sector_frequency"][s], sectors[s]["frequency"].number, "frequency");
    ExpectSingle(fromNetcdf["sector_weibull_a"][s], sectors[s]["weibull_a"].number, "A");
    ExpectSingle(fromNetcdf["sector_weibull_k"][s], sectors[s]["weibull_k"].number, "k");
    ExpectSingle(fromNetcdf["sector_aep"][s], sectors[s]["aep"].number, "sector aep");
    EXPECT_EQ(fromNetcdf["wind_from_direction"][s].number, 30.0 * static_cast<double>(s));
  }

  // The CF description of the NetCDF file.
  EXPECT_EQ(fromNetcdf["attributes"]["Conventions"].text, "CF-1.8");
  EXPECT_EQ(fromNetcdf["attributes"]["map"].text, kExamples + "site.map");
  EXPECT_EQ(fromNetcdf["attributes"]["atlas"].text, kExamples + "station.lib");
  EXPECT_EQ(fromNetcdf["attributes"]["power_curve"].text, curve);
  EXPECT_EQ(fromNetcdf["attributes"]["parameters_set"].text, "none (all defaults)");
  EXPECT_EQ(fromNetcdf["attributes"]["source"].text.rfind("kavicalc 1.5.5.0", 0), 0u);
  EXPECT_EQ(fromNetcdf["dimensions"][0].text, "height");
  EXPECT_EQ(fromNetcdf["dimensions"][1].text, "sector");
  EXPECT_EQ(fromNetcdf["dimensions"][2].text, "y");
  EXPECT_EQ(fromNetcdf["dimensions"][3].text, "x");
  EXPECT_EQ(fromNetcdf["units"]["mean_speed"].text, "m s-1");
  EXPECT_EQ(fromNetcdf["standard_names"]["mean_speed"].text, "wind_speed");
  EXPECT_EQ(fromNetcdf["standard_names"]["wind_from_direction"].text, "wind_from_direction");
  EXPECT_EQ(fromTiff["units"]["mean_speed"].text, "m/s");
  EXPECT_EQ(fromTiff["attributes"]["atlas"].text, kExamples + "station.lib");

  // CSV: one row per node and height, x fastest after height.
  const std::vector<std::string> rows = Lines(ReadFile(csv));
  ASSERT_EQ(rows.size(), 1u + 9 * 2);
  const std::vector<std::string> header = Split(rows[0]);
  ASSERT_GE(header.size(), 10u);
  EXPECT_EQ(rows[0].rfind("x,y,height,elevation,mean_speed,power_density,weibull_a,weibull_k,aep,"
                          "capacity_factor,sector_frequency_1,",
                          0),
            0u);
  // Node (500, 0) is column 2 of row 1: node 5, its second height on row 12.
  const std::vector<std::string> row = Split(rows[1 + 5 * 2 + 1]);
  EXPECT_EQ(row[0], "500");
  EXPECT_EQ(row[1], "0");
  EXPECT_EQ(row[2], "80");
  EXPECT_NEAR(std::stod(row[4]), site["mean_speed"].number, 1e-6 * site["mean_speed"].number);
  EXPECT_NEAR(std::stod(row[8]), site["aep"].number, 1e-6 * site["aep"].number);
}

TEST_F(CliGridTest, OnAnImportedMapNodesAreInItsCrsAndTheOutputsRecordIt) {
  const std::string map = files_.File("butte.map");
  const ToolResult import = RunKavicalc(
      {"map", "import", "--elevation",
       KAVI_SOURCE_DIR "/tests/data/field-data/terrain/big_butte_small.tif", "--out", map});
  ASSERT_EQ(import.status, 0) << import.err;
  const std::string atlas = kExamples + "station.lib";
  const ToolResult predicted =
      RunKavicalc({"predict", "--map", map, "--atlas", atlas, "--height", "50", "--at",
                   "336050.37,4807300.21", "--format", "json"});
  ASSERT_EQ(predicted.status, 0) << predicted.err;
  const JsonValue site = ParseJson(predicted.out)["sites"][0];
  for (const char* format : {"nc", "tif"}) {
    const std::string out = files_.File(std::string("butte.") + format);
    const ToolResult run =
        RunKavicalc({"grid", "--map", map, "--atlas", atlas, "--height", "50", "--around",
                     "335950.37,4807300.21", "--radius", "100", "--spacing", "100", "--out", out});
    ASSERT_EQ(run.status, 0) << run.err;
    const JsonValue node = ReadNode(out, 336050.37, 4807300.21, 50);
    EXPECT_EQ(node["epsg"].text, "32612") << format;
    for (const char* name : {"elevation", "mean_speed", "weibull_a"})
      ExpectSingle(node[name], site[name].number, std::string(format) + " " + name);
  }
}

TEST_F(CliGridTest, OutputIsTheSameWhateverTheNumberOfJobs) {
  const std::string one = files_.File("one.csv"), three = files_.File("three.csv");
  ASSERT_EQ(RunKavicalc(Grid(one, {"--jobs", "1"})).status, 0);
  ASSERT_EQ(RunKavicalc(Grid(three, {"--jobs", "3"})).status, 0);
  EXPECT_EQ(ReadFile(one), ReadFile(three));
}

TEST_F(CliGridTest, FailingNodesFinishAsNoDataAndAreReported) {
  // The flat test map reaches 15 km from the origin: the node 60 km out fails.
  const std::string map = files_.Write("flat.map", FlatMapText());
  const std::string atlas = files_.Write("uniform.lib", UniformAtlasText());
  const std::string out = files_.File("far.nc");
  const std::string svg = files_.File("far.svg");
  const ToolResult run = RunKavicalc({"grid", "--map", map, "--atlas", atlas, "--height", "50",
                                      "--bounds", "0,0,60000,10", "--spacing", "30000", "--out",
                                      out, "--jobs", "2", "--plot", svg});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("kavicalc: node at x 60000, y 0, height 50 m failed: Kavicalc.AtlasUser"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("1 of 3 node calculations failed"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("1 × Kavicalc.AtlasUser.1: Kavicalc: "), std::string::npos) << run.err;
  ASSERT_TRUE(std::filesystem::exists(out));
  const JsonValue failed = ReadNode(out, 60000, 0, 50);
  EXPECT_EQ(failed["mean_speed"].kind, JsonValue::Kind::Null);
  EXPECT_EQ(failed["elevation"].kind, JsonValue::Kind::Null);
  EXPECT_EQ(ReadNode(out, 0, 0, 50)["elevation"].number, 100.0);
  // The plot shows the failed node grey and says what grey means.
  const std::string picture = ReadFile(svg);
  EXPECT_NE(picture.find("#b0b0b0"), std::string::npos);
  EXPECT_NE(picture.find("no value (failed)"), std::string::npos);
}

TEST_F(CliGridTest, PlotShowsSpeedsLinesExtentAndSites) {
  const std::string svg = files_.File("resource.svg");
  const ToolResult run =
      RunKavicalc({"grid", "--map", kExamples + "site.map", "--atlas", kExamples + "station.lib",
                   "--height", "80", "--bounds", "0,-1000,3000,3000", "--spacing", "250", "--out",
                   files_.File("r.csv"), "--plot", svg, "--sites", kExamples + "turbines.csv"});
  ASSERT_EQ(run.status, 0) << run.err;
  const XmlElement root = ParseXml(ReadFile(svg));
  // One coloured cell per node (13 × 17), no grey ones: every node has a value.
  const std::vector<const XmlElement*> groups = root.FindAll("g", "mean-speed");
  ASSERT_EQ(groups.size(), 1u);
  const std::vector<const XmlElement*> cells = groups[0]->FindAll("rect");
  EXPECT_EQ(cells.size(), 13u * 17u);
  for (const XmlElement* cell : cells) EXPECT_NE(cell->Attribute("fill"), "#b0b0b0");
  // Every line of the map, every site, the frame and the legend in m/s.
  const std::vector<const XmlElement*> lines = root.FindAll("g", "map-lines");
  ASSERT_EQ(lines.size(), 1u);
  // The example map's lines: 4 coast pieces, the mixed land's border, the town's
  // edge, the forest, the village, 11 ridge and 7 hill contours.
  EXPECT_EQ(lines[0]->FindAll("polyline").size(), 26u);
  EXPECT_EQ(root.FindAll("circle").size(), 20u);
  EXPECT_EQ(root.FindAll("rect", "grid-extent").size(), 1u);
  bool legend = false;
  for (const XmlElement* text : root.FindAll("text"))
    legend |= text->text == "Mean wind speed (m/s)";
  EXPECT_TRUE(legend);
  // --sites is only for the plot, and a bad sites file is refused before any work.
  const ToolResult alone =
      RunKavicalc(Grid(files_.File("x.csv"), {"--sites", kExamples + "turbines.csv"}));
  EXPECT_EQ(alone.status, 2);
  EXPECT_FALSE(std::filesystem::exists(files_.File("x.csv")));
}

TEST_F(CliGridTest, BadInputLeavesNoFile) {
  const std::string out = files_.File("bad.tif");
  const std::string increasing = files_.Write("back.csv", "3,0\n10,2000\n9,2100\n");
  const std::string negative = files_.Write("negative.csv", "3,0\n10,-5\n");
  const std::string text = files_.Write("text.csv", "speed,power\n3,0\n10,lots\n");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--spacing", "0"}, "--spacing expects a length in map units greater than 0"},
      {{"--height", "50,x"}, "--height expects heights above ground"},
      {{"--power-curve", increasing}, "row 3: the wind speeds must increase"},
      {{"--power-curve", negative}, "row 2: a power must not be negative"},
      {{"--power-curve", text}, "row 3: expected numbers speed,power"},
      {{"--air-density", "1.1"}, "--air-density needs --power-curve"},
      {{"--jobs", "0"}, "--jobs expects a whole number"}};
  for (const auto& [change, message] : cases) {
    std::vector<std::string> args = {"grid",
                                     "--map",
                                     kExamples + "site.map",
                                     "--atlas",
                                     kExamples + "station.lib",
                                     "--bounds",
                                     "0,0,100,100",
                                     "--out",
                                     out};
    bool hasHeight = false, hasSpacing = false;
    for (std::size_t i = 0; i + 1 < change.size(); i += 2) {
      hasHeight |= change[i] == "--height";
      hasSpacing |= change[i] == "--spacing";
    }
    if (!hasHeight) args.insert(args.end(), {"--height", "80"});
    if (!hasSpacing) args.insert(args.end(), {"--spacing", "50"});
    args.insert(args.end(), change.begin(), change.end());
    const ToolResult run = RunKavicalc(args);
    EXPECT_EQ(run.status, 2) << message << ": " << run.err;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(out)) << message;
  }
  const ToolResult huge =
      RunKavicalc({"grid", "--map", kExamples + "site.map", "--atlas", kExamples + "station.lib",
                   "--height", "80", "--bounds", "0,0,100,100", "--spacing", "0.01", "--out", out});
  EXPECT_EQ(huge.status, 2);
  EXPECT_NE(huge.err.find("more than the 10000000 allowed"), std::string::npos) << huge.err;
  // A map that cannot be read fails every node: exit 1, nothing written.
  const ToolResult missing =
      RunKavicalc({"grid", "--map", files_.File("none.map"), "--atlas", kExamples + "station.lib",
                   "--height", "80", "--bounds", "0,0,100,100", "--spacing", "50", "--out", out});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("9 of 9 node calculations failed, nothing written"), std::string::npos)
      << missing.err;
  EXPECT_FALSE(std::filesystem::exists(out));
  // Nor any temporary file beside it.
  for (const auto& entry : std::filesystem::directory_iterator(files_.File("")))
    EXPECT_EQ(entry.path().filename().string().find("bad"), std::string::npos) << entry.path();
}

TEST_F(CliGridTest, PredictGivesMeanSpeedsAndEnergyInEveryFormat) {
  const std::vector<std::string> base = {"predict",
                                         "--map",
                                         kExamples + "site.map",
                                         "--atlas",
                                         kExamples + "station.lib",
                                         "--sites",
                                         kExamples + "turbines.csv",
                                         "--height",
                                         "80",
                                         "--power-curve",
                                         kExamples + "e101_3050kw.csv"};
  std::vector<std::string> json = base;
  json.insert(json.end(), {"--format", "json", "--jobs", "2"});
  const ToolResult run = RunKavicalc(json);
  ASSERT_EQ(run.status, 0) << run.err;
  const JsonValue sites = ParseJson(run.out)["sites"];
  ASSERT_EQ(sites.items.size(), 20u);
  for (const JsonValue& site : sites.items) {
    double aep = 0, weighted = 0, frequencies = 0;
    for (const JsonValue& sector : site["sectors"].items) {
      // A and k are printed as the shortest text of the engine's singles.
      const double A = static_cast<float>(sector["weibull_a"].number),
                   k = static_cast<float>(sector["weibull_k"].number);
      EXPECT_NEAR(sector["mean_speed"].number, A * std::tgamma(1 + 1 / k), 1e-12 * A);
      aep += sector["aep"].number;
      const double frequency = static_cast<float>(sector["frequency"].number);
      weighted += frequency * sector["mean_speed"].number;
      frequencies += frequency;
    }
    EXPECT_NEAR(site["aep"].number, aep, 1e-9 * aep);
    EXPECT_NEAR(site["mean_speed"].number, weighted / frequencies, 1e-12 * weighted);
    EXPECT_NEAR(site["capacity_factor"].number, aep / (3.0 * 8766), 1e-12);
    EXPECT_GT(site["capacity_factor"].number, 0.0);
    EXPECT_LT(site["capacity_factor"].number, 1.0);
  }
  // Sites keep their order whatever the number of jobs.
  std::vector<std::string> one = base, two = base;
  one.insert(one.end(), {"--jobs", "1"});
  two.insert(two.end(), {"--jobs", "2"});
  const ToolResult serial = RunKavicalc(one), parallel = RunKavicalc(two);
  ASSERT_EQ(serial.status, 0);
  EXPECT_EQ(serial.out, parallel.out);
  EXPECT_NE(serial.out.find("Gross energy yield: "), std::string::npos);
  // Thinner air gives less energy.
  std::vector<std::string> thin = json;
  thin.insert(thin.end(), {"--air-density", "1.1"});
  const ToolResult lighter = RunKavicalc(thin);
  ASSERT_EQ(lighter.status, 0) << lighter.err;
  EXPECT_LT(ParseJson(lighter.out)["sites"][0]["aep"].number, sites[0]["aep"].number);
}

}  // namespace
}  // namespace kavi::e2e
