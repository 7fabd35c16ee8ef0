// predict accounts for every site: a failing site is named and the others are
// still given; sites off the map and heights outside the atlas's standard
// heights are warned about; named site columns and site names reach every
// output; printed numbers read back to the engine's single-precision values.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "support/example_files.h"
#include "support/json_reader.h"
#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class CliSiteAccountingTest : public ::testing::Test {
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
  std::string map_, atlas_;
};

TEST_F(CliSiteAccountingTest, OneFailingSiteAmongTwentyIsNamedAndTheOthersAreGiven) {
  // Site 8 lies 100 km off the 30 km map, beyond the zooming grid's reach.
  std::string rows = "x,y\n";
  for (int i = 1; i <= 20; ++i) rows += (i == 8 ? "100000" : std::to_string(500 * i)) + ",0\n";
  const std::string sites = files_.Write("sites.csv", rows);

  const ToolResult json =
      RunKavicalc(Predict({"--height", "50", "--sites", sites, "--format", "json"}));
  EXPECT_EQ(json.status, 1) << json.err;
  const JsonValue document = ParseJson(json.out);
  ASSERT_EQ(document["sites"].items.size(), 19u);
  EXPECT_EQ(document["sites"][7]["x"].number, 4500);  // site 9 follows site 7
  const JsonValue& failures = document["failures"];
  ASSERT_EQ(failures.items.size(), 1u);
  EXPECT_EQ(failures[0]["site"].number, 8);
  EXPECT_EQ(failures[0]["x"].number, 100000);
  EXPECT_NE(failures[0]["error"].text.find("Kavicalc: Interpolation radius too small (0x800403E8)"),
            std::string::npos);
  const std::vector<std::string> err = Lines(json.err);
  ASSERT_FALSE(err.empty());
  EXPECT_EQ(Count(json.err, "(0x800403E8)"), 1u) << json.err;
  EXPECT_NE(json.err.find("kavicalc: Kavicalc.AtlasUser.1: site 8 (x 100000, y 0): "),
            std::string::npos);
  EXPECT_EQ(err.back(), "kavicalc: 1 of 20 sites failed; the results of the others are given");

  // Worker threads change nothing: the same sites, failures and messages in
  // the sites' order whatever the number of jobs.
  for (const char* jobs : {"1", "3"}) {
    const ToolResult threaded = RunKavicalc(
        Predict({"--height", "50", "--sites", sites, "--format", "json", "--jobs", jobs}));
    EXPECT_EQ(threaded.status, 1) << jobs;
    EXPECT_EQ(threaded.out, json.out) << jobs;
    EXPECT_EQ(threaded.err, json.err) << jobs;
  }

  // The table and CSV also give the nineteen.
  const ToolResult table = RunKavicalc(Predict({"--height", "50", "--sites", sites}));
  EXPECT_EQ(table.status, 1);
  EXPECT_EQ(Count(table.out, "All sectors: A "), 19u);
  const ToolResult csv =
      RunKavicalc(Predict({"--height", "50", "--sites", sites, "--format", "csv"}));
  EXPECT_EQ(csv.status, 1);
  EXPECT_EQ(Lines(csv.out).size(), 1u + 19 * 13);

  // --fail-fast stops at the failing site and prints no results.
  const ToolResult fast = RunKavicalc(Predict({"--height", "50", "--sites", sites, "--fail-fast"}));
  EXPECT_EQ(fast.status, 1);
  EXPECT_EQ(fast.out, "");
  EXPECT_EQ(Count(fast.err, "sites failed"), 0u);
  const ToolResult fastThreads =
      RunKavicalc(Predict({"--height", "50", "--sites", sites, "--fail-fast", "--jobs", "3"}));
  EXPECT_EQ(fastThreads.status, 1);
  EXPECT_EQ(fastThreads.out, "");
  EXPECT_EQ(fastThreads.err, fast.err);
}

TEST_F(CliSiteAccountingTest, HeightsOutsideTheAtlasAndSitesOffTheMapAreWarnedAbout) {
  // The atlas's standard heights are 10 and 100 m; the map spans ±15 km.
  const ToolResult r = RunKavicalc(Predict({"--height", "300", "--at", "0,0", "--at", "14500,0",
                                            "--at", "16000,0", "--format", "json"}));
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> err = Lines(r.err);
  ASSERT_EQ(err.size(), 3u) << r.err;
  EXPECT_EQ(err[0], "kavicalc: warning: height 300 m outside the standard heights of the atlas '" +
                        atlas_ + "' (10 to 100 m): the results there are extrapolated");
  const std::string extent = "(the map '" + map_ + "' spans x -15000 to 15000, y -15000 to 15000)";
  EXPECT_EQ(err[1], "kavicalc: warning: site 2 (x 14500, y 0) lies 500 m inside the map's edge " +
                        extent +
                        ": the terrain within 1000 m shapes the wind there, and the map "
                        "ends nearer");
  EXPECT_EQ(err[2],
            "kavicalc: warning: site 3 (x 16000, y 0) lies outside the map, 1000 m from "
            "it " +
                extent + ": the terrain around the site is not on the map");
  const JsonValue sites = ParseJson(r.out)["sites"];
  ASSERT_EQ(sites.items.size(), 3u);
  EXPECT_EQ(sites[0]["warnings"].items.size(), 1u);  // the height
  EXPECT_EQ(sites[1]["warnings"].items.size(), 2u);
  EXPECT_EQ(sites[2]["warnings"][0].text, err[2].substr(std::string("kavicalc: warning: ").size()));

  // Heights within the standard heights and sites well inside: no warning.
  const ToolResult inside = RunKavicalc(Predict({"--height", "100", "--at", "1000,-2000"}));
  EXPECT_EQ(inside.status, 0);
  EXPECT_EQ(inside.err, "");
  // Below the lowest standard height warns as well.
  const ToolResult low = RunKavicalc(Predict({"--height", "5", "--at", "0,0"}));
  EXPECT_NE(low.err.find("height 5 m outside the standard heights"), std::string::npos) << low.err;
}

TEST_F(CliSiteAccountingTest, NamedColumnsInAnyOrderAndNamesInEveryOutput) {
  const std::string sites = files_.Write(
      "turbines.csv", "Name,Hub_Height,Northing,EASTING\nT1,80,2000,1000\n\"T,2\",60,-500,250\n");
  // Names are taken as written (no CSV quoting in the sites file); the CSV
  // output quotes a name that holds a quote.
  const std::string named = files_.Write(
      "named.csv", "name,hub_height,northing,easting\nT1,80,2000,1000\nMast \"A\",60,-500,250\n");
  const ToolResult csv = RunKavicalc(Predict({"--sites", named, "--format", "csv"}));
  ASSERT_EQ(csv.status, 0) << csv.err;
  const std::vector<std::string> rows = Lines(csv.out);
  ASSERT_EQ(rows.size(), 1u + 2 * 13);
  EXPECT_EQ(rows[0],
            "name,x,y,height,elevation,sector,bearing,frequency,weibull_a,weibull_k,"
            "power_density,mean_speed");
  const std::vector<std::string> first = Split(rows[1]);
  EXPECT_EQ(std::vector<std::string>(first.begin(), first.begin() + 4),
            (std::vector<std::string>{"T1", "1000", "2000", "80"}));
  EXPECT_EQ(rows[14].rfind("\"Mast \"\"A\"\"\",250,-500,60,", 0), 0u) << rows[14];

  const ToolResult json = RunKavicalc(Predict({"--sites", named, "--format", "json"}));
  ASSERT_EQ(json.status, 0) << json.err;
  const JsonValue list = ParseJson(json.out)["sites"];
  EXPECT_EQ(list[0]["name"].text, "T1");
  EXPECT_EQ(list[1]["name"].text, "Mast \"A\"");
  EXPECT_EQ(list[1]["height"].number, 60);
  const ToolResult table = RunKavicalc(Predict({"--sites", named}));
  EXPECT_EQ(table.out.rfind("Site 1 (T1): x 1000, y 2000, height 80 m", 0), 0u) << table.out;

  // The 4-field header gives each row 4 fields.
  const ToolResult split = RunKavicalc(Predict({"--sites", sites}));
  EXPECT_EQ(split.status, 2);
  EXPECT_NE(split.err.find("row 3: expected 4 fields"), std::string::npos) << split.err;
}

TEST_F(CliSiteAccountingTest, SinglePrecisionResultsPrintShortAndBearingsAreGiven) {
  // That the texts read back to the very singles the interface hands out is
  // checked against the interface in the concurrency and demo tests; here,
  // that they are the short texts of singles, not long doubles.
  const ToolResult json =
      RunKavicalc(Predict({"--height", "50", "--at", "1000,2000", "--format", "json"}));
  ASSERT_EQ(json.status, 0) << json.err;
  const JsonValue site = ParseJson(json.out)["sites"][0];
  ASSERT_EQ(site["sectors"].items.size(), 12u);
  for (const JsonValue& sector : site["sectors"].items) {
    for (const char* key : {"frequency", "weibull_a", "weibull_k"}) {
      const std::string& text = sector[key].text;
      std::size_t digits = 0;
      for (const char c : text) digits += c >= '0' && c <= '9';
      EXPECT_LE(digits, 10u) << key << " " << text;  // 9 significant, one leading zero
      const double value = std::stod(text);
      EXPECT_EQ(static_cast<double>(std::stof(text)),
                static_cast<double>(static_cast<float>(value)));
    }
    // The centre bearing of 12 sectors of 30°, sector 1 on north.
    EXPECT_EQ(sector["bearing"].number, 30.0 * (sector["sector"].number - 1));
  }
}

}  // namespace
}  // namespace kavi::e2e
