// Whole calculations through kavicalc on small synthetic inputs: the output
// formats of predict agree with each other and with the quantities' own
// definitions, per-site heights apply, and atlas then predict at the station
// gives back the observed climate.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "support/example_files.h"
#include "support/json_reader.h"
#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

// Mean power density of a Weibull distribution, W/m²: ½ρ A³ Γ(1 + 3/k).
double PowerDensity(double A, double k) { return 0.61259156 * A * A * A * std::tgamma(1 + 3 / k); }

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

class CliCalculationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    map_ = files_.Write("flat.map", FlatMapText());
    atlas_ = files_.Write("uniform.lib", UniformAtlasText());
  }
  std::vector<std::string> Predict(std::vector<std::string> more) const {
    std::vector<std::string> args = {"predict", "--map", map_, "--atlas", atlas_};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
  ScopedRegistry registry_;
  ScratchFolder files_;
  std::string map_;
  std::string atlas_;
};

TEST_F(CliCalculationTest, PredictFormatsAgreeAndHoldTheDefinitions) {
  const std::vector<std::string> sites = {"--height", "50",      "--at", "1000.123456789012,2000.5",
                                          "--at",     "-500,250"};
  std::vector<std::string> args = Predict(sites);
  args.insert(args.end(), {"--format", "json"});
  const ToolResult json = RunKavicalc(args);
  ASSERT_EQ(json.status, 0) << json.err;
  const JsonValue document = ParseJson(json.out);
  const JsonValue& list = document["sites"];
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(list[0]["x"].number, 1000.123456789012);  // full precision, as given
  EXPECT_EQ(list[0]["y"].number, 2000.5);
  EXPECT_EQ(list[1]["x"].number, -500.0);
  EXPECT_EQ(list[0]["height"].number, 50.0);

  for (const JsonValue& site : list.items) {
    const JsonValue& sectors = site["sectors"];
    ASSERT_EQ(sectors.items.size(), 12u);  // the atlas's sector count
    double frequencySum = 0;
    for (std::size_t i = 0; i < 12; ++i) {
      const JsonValue& s = sectors[i];
      EXPECT_EQ(s["sector"].text, std::to_string(i + 1));
      const double A = s["weibull_a"].number;
      const double k = s["weibull_k"].number;
      EXPECT_GT(A, 0);
      EXPECT_GT(k, 0.5);
      EXPECT_NEAR(s["power_density"].number, PowerDensity(A, k), 1e-5 * PowerDensity(A, k));
      // Flat terrain of one roughness under an atlas with equal sectors.
      EXPECT_NEAR(s["frequency"].number, 100.0 / 12, 0.05);
      frequencySum += s["frequency"].number;
    }
    EXPECT_NEAR(frequencySum, 100.0, 1e-3);
    const double A = site["weibull_a"].number;
    const double k = site["weibull_k"].number;
    EXPECT_NEAR(site["power_density"].number, PowerDensity(A, k), 1e-5 * PowerDensity(A, k));
    EXPECT_TRUE(std::isfinite(site["elevation"].number));
  }

  // CSV: the same doubles, one row per sector and a totals row per site.
  args = Predict(sites);
  args.insert(args.end(), {"--format", "csv"});
  const ToolResult csv = RunKavicalc(args);
  ASSERT_EQ(csv.status, 0) << csv.err;
  const std::vector<std::string> rows = Lines(csv.out);
  ASSERT_EQ(rows.size(), 1u + 2 * 13);
  EXPECT_EQ(rows[0],
            "x,y,height,elevation,sector,bearing,frequency,weibull_a,weibull_k,power_density,"
            "mean_speed");
  for (std::size_t s = 0; s < 2; ++s) {
    const JsonValue& site = list[s];
    double frequencySum = 0;
    for (std::size_t i = 0; i < 13; ++i) {
      // Columns from the sector on, without the bearing, which is checked below.
      std::vector<std::string> f = Split(rows[1 + s * 13 + i]);
      ASSERT_EQ(f.size(), 11u) << rows[1 + s * 13 + i];
      EXPECT_EQ(f[5], i < 12 ? std::to_string(30 * i) : "") << "bearing";
      f.erase(f.begin() + 5);
      EXPECT_EQ(std::stod(f[0]), site["x"].number);
      EXPECT_EQ(std::stod(f[3]), site["elevation"].number);
      if (i < 12) {
        const JsonValue& sector = site["sectors"][i];
        EXPECT_EQ(f[4], std::to_string(i + 1));
        EXPECT_EQ(std::stod(f[5]), sector["frequency"].number);
        EXPECT_EQ(std::stod(f[6]), sector["weibull_a"].number);
        EXPECT_EQ(std::stod(f[7]), sector["weibull_k"].number);
        EXPECT_EQ(std::stod(f[8]), sector["power_density"].number);
        EXPECT_EQ(std::stod(f[9]), sector["mean_speed"].number);
        // Each sector's frequency reads back as the single it is.
        frequencySum += static_cast<double>(std::stof(f[5]));
      } else {
        EXPECT_EQ(f[4], "all");
        EXPECT_EQ(std::stod(f[5]), frequencySum);  // the total is a double
        EXPECT_EQ(std::stod(f[6]), site["weibull_a"].number);
        EXPECT_EQ(std::stod(f[7]), site["weibull_k"].number);
        EXPECT_EQ(std::stod(f[8]), site["power_density"].number);
        EXPECT_EQ(std::stod(f[9]), site["mean_speed"].number);
      }
    }
  }

  // Table: a block per site, then one row per sector with its centre bearing.
  const ToolResult table = RunKavicalc(Predict(sites));
  ASSERT_EQ(table.status, 0) << table.err;
  const std::vector<std::string> lines = Lines(table.out);
  ASSERT_EQ(lines.size(), 2 * 15u + 1) << table.out;
  EXPECT_EQ(lines[0].rfind("Site 1: x 1000.123456789012, y 2000.5, height 50 m, elevation ", 0), 0u)
      << lines[0];
  EXPECT_EQ(lines[1].rfind("All sectors: A ", 0), 0u) << lines[1];
  EXPECT_NE(lines[2].find("Frequency (%)"), std::string::npos);
  for (int i = 0; i < 12; ++i) {
    std::istringstream row(lines[3 + i]);
    int sector = 0;
    double bearing = -1;
    row >> sector >> bearing;
    EXPECT_EQ(sector, i + 1);
    EXPECT_EQ(bearing, 30.0 * i);
  }
  EXPECT_EQ(lines[15], "");
  EXPECT_EQ(lines[16].rfind("Site 2: x -500, y 250, height 50 m", 0), 0u) << lines[16];
}

TEST_F(CliCalculationTest, HeightsOfTheSitesFileOverrideTheCommonHeight) {
  const std::string sites =
      files_.Write("sites.csv", "x,y,height\n1000,2000,30\n# same place, higher\n1000,2000,80\n");
  std::vector<std::string> args = Predict({"--sites", sites, "--format", "json"});
  const ToolResult r = RunKavicalc(args);
  ASSERT_EQ(r.status, 0) << r.err;
  const JsonValue list = ParseJson(r.out)["sites"];
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(list[0]["height"].number, 30.0);
  EXPECT_EQ(list[1]["height"].number, 80.0);
  // The wind increases with height above ground over flat terrain.
  EXPECT_GT(list[1]["weibull_a"].number, list[0]["weibull_a"].number);

  const std::string mixed = files_.Write("mixed.csv", "1000,2000\n1000,2000,80\n");
  const ToolResult m =
      RunKavicalc(Predict({"--sites", mixed, "--height", "30", "--format", "json"}));
  ASSERT_EQ(m.status, 0) << m.err;
  const JsonValue both = ParseJson(m.out)["sites"];
  EXPECT_EQ(both[0]["height"].number, 30.0);
  EXPECT_EQ(both[1]["height"].number, 80.0);
  EXPECT_EQ(both[0]["weibull_a"].number, list[0]["weibull_a"].number);  // deterministic
}

TEST_F(CliCalculationTest, AtlasThenPredictAtTheStationGivesBackTheObservedClimate) {
  const std::string tab = files_.Write("station.tab", WeibullClimateText(12, 7.0, 2.0));
  const std::string atlas = files_.File("station.lib");
  const ToolResult made = RunKavicalc({"atlas", "--map", map_, "--tab", tab, "--height", "30",
                                       "--at", "1000,2000", "--out", atlas});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(Lines(ReadFile(atlas)).at(1), "  5  5 12");  // default classes and heights

  const ToolResult back = RunKavicalc({"predict", "--map", map_, "--atlas", atlas, "--height", "30",
                                       "--at", "1000,2000", "--format", "json"});
  ASSERT_EQ(back.status, 0) << back.err;
  const JsonValue site = ParseJson(back.out)["sites"][0];
  EXPECT_NEAR(site["weibull_a"].number, 7.0, 0.35);
  EXPECT_NEAR(site["weibull_k"].number, 2.0, 0.2);

  // A --set reaches the calculation: three standard heights instead of five.
  const std::string three = files_.File("three.lib");
  const ToolResult fewer = RunKavicalc({"atlas", "--map", map_, "--tab", tab, "--height", "30",
                                        "--at", "1000,2000", "--out", three, "--set", "NUMSTDH=3"});
  ASSERT_EQ(fewer.status, 0) << fewer.err;
  EXPECT_EQ(Lines(ReadFile(three)).at(1), "  5  3 12");
}

TEST_F(CliCalculationTest, RoseFileFeedsThePredictionAndMustMatchItsSectors) {
  const std::string rose = files_.File("site.rrd");
  const ToolResult made =
      RunKavicalc({"rose", "--map", map_, "--sectors", "12", "--at", "1000,2000", "--out", rose});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_TRUE(std::filesystem::exists(rose));
  ToolResult r = RunKavicalc(
      Predict({"--rose", rose, "--height", "50", "--at", "1000,2000", "--format", "csv"}));
  EXPECT_EQ(r.status, 0) << r.err;

  const std::string eight = files_.File("eight.rrd");
  ASSERT_EQ(
      RunKavicalc({"rose", "--map", map_, "--sectors", "8", "--at", "1000,2000", "--out", eight})
          .status,
      0);
  r = RunKavicalc(Predict({"--rose", eight, "--height", "50", "--at", "1000,2000"}));
  EXPECT_EQ(r.status, 1);
  // The rose file is named before the server's own message.
  EXPECT_EQ(Lines(r.err), std::vector<std::string>{
                              "kavicalc: Kavicalc.AtlasUser.1: the roughness rose file '" + eight +
                              "' has another number of sectors than the wind climate: Roughness "
                              "rose is compatible with histogram (number of sectors mismatch). "
                              "(0x800403E8)"});
}

}  // namespace
}  // namespace kavi::e2e
