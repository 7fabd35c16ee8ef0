// kavicalc climate: observed wind climate files from measured series and
// frequency tables. Sector frequencies and calms of the real Greensboro TMY3
// year against a count made here, Weibull parameters of a series drawn from
// known distributions, the written histogram against the binned counts, and
// the file carried through atlas and predict back to the station.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>

#include "support/example_files.h"
#include "support/json_reader.h"
#include "support/tool_run.h"
#include "support/xml_reader.h"

namespace kavi::e2e {
namespace {

const std::string kFieldData =
    std::string(KAVI_SOURCE_DIR) + "/tests/data/field-data/wind_climate/";
const std::string kGreensboro = kFieldData + "tmy3_723170_greensboro_NC.csv";
const std::string kGreensboroTable = kFieldData + "tmy3_723170_freq_table_12sec_1ms.csv";

std::vector<std::string> SplitCsv(const std::string& line) {
  std::vector<std::string> fields;
  std::string field;
  std::istringstream in(line);
  while (std::getline(in, field, ',')) fields.push_back(field);
  return fields;
}

// The hours of the TMY3 file counted here: per 30° sector (sector 1 centred
// on north) the hours with wind, and the calm hours (speed 0).
struct HourCount {
  std::array<int, 12> sectors{};
  int calms = 0;
  int hours = 0;
};

HourCount CountGreensboroHours() {
  std::ifstream in(kGreensboro);
  std::string line;
  std::getline(in, line);  // site metadata
  std::getline(in, line);
  const std::vector<std::string> names = SplitCsv(line);
  const auto column = [&](const std::string& name) {
    return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
  };
  const std::size_t speed = column("Wspd (m/s)");
  const std::size_t direction = column("Wdir (degrees)");
  HourCount count;
  while (std::getline(in, line)) {
    const std::vector<std::string> fields = SplitCsv(line);
    ++count.hours;
    if (std::stod(fields[speed]) == 0) {
      ++count.calms;
      continue;
    }
    // Directions come in whole degrees: 345 … 14 is sector 1, 15 … 44 sector 2.
    const int degrees = static_cast<int>(std::lround(std::stod(fields[direction])));
    ++count.sectors[((degrees + 15) / 30) % 12];
  }
  return count;
}

// An observed wind climate file as read back: header numbers, sector
// frequencies, and per bin the upper limit and sector frequencies.
struct ClimateFile {
  std::vector<std::string> lines;
  std::vector<double> header;             // line 2
  std::vector<double> layout;             // line 3
  std::vector<double> sectors;            // line 4
  std::vector<std::vector<double>> bins;  // upper limit first
};

std::vector<double> Numbers(const std::string& line) {
  std::istringstream in(line);
  std::vector<double> numbers;
  for (double x; in >> x;) numbers.push_back(x);
  return numbers;
}

ClimateFile ReadClimateFile(const std::string& path) {
  ClimateFile file;
  file.lines = Lines(ReadFile(path));
  file.header = Numbers(file.lines.at(1));
  file.layout = Numbers(file.lines.at(2));
  file.sectors = Numbers(file.lines.at(3));
  for (std::size_t i = 4; i < file.lines.size(); ++i) file.bins.push_back(Numbers(file.lines[i]));
  return file;
}

double Sum(const std::vector<double>& values) {
  double sum = 0;
  for (const double v : values) sum += v;
  return sum;
}

// One sector of the drawn series: frequency (%), Weibull A (m/s) and k.
struct DrawnSector {
  double frequency;
  double A;
  double k;
};

// Four sectors, so that each holds thousands of the 50,000 records and the
// sampling error of the fits (about 0.5 % in A, 0.8 % in k) stays well
// inside the tolerances.
constexpr std::size_t kDrawnSectors = 4;
constexpr std::array<DrawnSector, kDrawnSectors> kDrawn = {
    {{20, 6.0, 1.9}, {15, 5.5, 2.1}, {35, 8.4, 2.4}, {30, 7.5, 2.2}}};

// A series of 10-minute records drawn from kDrawn: the sector by its
// frequency, the direction evenly within the middle of the sector, the speed by
// inverting the Weibull distribution. std::mt19937's sequence is fixed by the
// language standard, and the transforms here are our own, so the series is the
// same everywhere. Every 97th record is calm (speed 0), every 89th has a
// missing speed (-999) and every 83rd a direction of 400 degrees.
struct DrawnSeries {
  std::string text;
  std::vector<std::array<double, 2>> used;  // speed, direction as written
  int missing = 0;
  int outOfRange = 0;
  int calms = 0;
};

DrawnSeries DrawSeries(int records) {
  std::mt19937 generator(20261208);
  const auto uniform = [&] { return (generator() + 0.5) / 4294967296.0; };
  DrawnSeries series;
  series.text = "time,ws_10m,wd\n";
  char line[96];
  for (int n = 0; n < records; ++n) {
    const double pick = uniform() * 100;
    std::size_t sector = 0;
    for (double sum = kDrawn[0].frequency; sum < pick && sector + 1 < kDrawn.size();)
      sum += kDrawn[++sector].frequency;
    double direction = 90.0 * static_cast<double>(sector) + (uniform() - 0.5) * 80;
    if (direction < 0) direction += 360;
    const DrawnSector& d = kDrawn[sector];
    double speed = d.A * std::pow(-std::log(1 - uniform()), 1 / d.k);
    const std::int64_t minutes = 10LL * n;
    const int day = static_cast<int>(minutes / 1440);
    std::string speedText;
    if (n % 97 == 0) speed = 0;
    std::snprintf(line, sizeof line, "%.2f", speed);
    speedText = line;
    std::string directionText;
    std::snprintf(line, sizeof line, "%.1f", direction);
    directionText = line;
    if (n % 89 == 1) {
      speedText = "-999";
      ++series.missing;
    } else if (n % 83 == 2) {
      directionText = "400";
      ++series.outOfRange;
    } else {
      series.used.push_back({std::stod(speedText), std::stod(directionText)});
      series.calms += std::stod(speedText) == 0;
    }
    std::snprintf(line, sizeof line, "2020-%02d-%02d %02d:%02d,", 1 + day / 28, 1 + day % 28,
                  static_cast<int>(minutes % 1440 / 60), static_cast<int>(minutes % 60));
    series.text += line + speedText + "," + directionText + "\n";
  }
  return series;
}

class CliClimateTest : public ::testing::Test {
 protected:
  ScopedRegistry registry_;
  ScratchFolder files_;
};

TEST_F(CliClimateTest, GreensboroYearMatchesAHandCountAndFeedsTheAtlas) {
  const HourCount count = CountGreensboroHours();
  ASSERT_EQ(count.hours, 8760);
  const std::string tab = files_.File("greensboro.tab");
  const ToolResult r =
      RunKavicalc({"climate", "--series", kGreensboro, "--skip-rows", "1", "--speed", "Wspd (m/s)",
                   "--direction", "Wdir (degrees)", "--height", "10", "--latitude", "36.1",
                   "--longitude", "-79.95", "--out", tab, "--format", "json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const JsonValue summary = ParseJson(r.out);
  EXPECT_EQ(summary["records"]["read"].number, 8760);
  EXPECT_EQ(summary["records"]["used"].number, 8760);
  EXPECT_EQ(summary["records"]["missing"].number, 0);
  EXPECT_EQ(summary["records"]["calm"].number, count.calms);
  EXPECT_NEAR(summary["calm_share"].number, 100.0 * count.calms / 8760, 1e-9);
  EXPECT_EQ(summary["data_recovery"].number, 100);
  const int windy = count.hours - count.calms;
  const ClimateFile file = ReadClimateFile(tab);
  ASSERT_EQ(file.sectors.size(), 12u);
  for (std::size_t i = 0; i < 12; ++i) {
    const double expected = 100.0 * count.sectors[i] / windy;
    EXPECT_NEAR(summary["sectors"][i]["frequency"].number, expected, 1e-9) << "sector " << i + 1;
    EXPECT_EQ(summary["sectors"][i]["count"].number, count.sectors[i]);
    EXPECT_NEAR(file.sectors[i], expected, 0.0005) << "sector " << i + 1;
  }
  EXPECT_EQ(file.header, (std::vector<double>{36.1, -79.95, 10}));
  EXPECT_EQ(file.layout, (std::vector<double>{12, 1, 0, 0}));
  // The mean of all hours, calms included, is the data's own 3.05 m/s.
  EXPECT_NEAR(summary["all"]["mean_speed"].number, 3.05, 0.005);

  const std::string map = files_.Write("flat.map", FlatMapText());
  const ToolResult atlas = RunKavicalc({"atlas", "--map", map, "--tab", tab, "--height", "10",
                                        "--at", "0,0", "--out", files_.File("greensboro.lib")});
  EXPECT_EQ(atlas.status, 0) << atlas.err;

  // The frequency table derived from the same hours gives the same climate.
  const std::string fromTable = files_.File("table.tab");
  const ToolResult t =
      RunKavicalc({"climate", "--table", kGreensboroTable, "--height", "10", "--latitude", "36.1",
                   "--longitude", "-79.95", "--out", fromTable, "--format", "json"});
  ASSERT_EQ(t.status, 0) << t.err;
  const JsonValue tableSummary = ParseJson(t.out);
  EXPECT_EQ(tableSummary["records"]["calm"].number, count.calms);
  EXPECT_NEAR(tableSummary["calm_share"].number, 100.0 * count.calms / 8760, 1e-9);
  for (std::size_t i = 0; i < 12; ++i)
    EXPECT_NEAR(tableSummary["sectors"][i]["frequency"].number, 100.0 * count.sectors[i] / windy,
                1e-9);
  const ClimateFile table = ReadClimateFile(fromTable);
  EXPECT_EQ(table.sectors, file.sectors);
  EXPECT_EQ(table.bins, file.bins);
}

TEST_F(CliClimateTest, DrawnWeibullSeriesGivesBackItsParametersThroughAtlasAndPredict) {
  constexpr int kRecords = 50000;
  const DrawnSeries drawn = DrawSeries(kRecords);
  const std::string series = files_.Write("mast.csv", drawn.text);
  const std::string tab = files_.File("mast.tab");
  const ToolResult r =
      RunKavicalc({"climate", "--series", series, "--speed", "ws_10m", "--direction", "3", "--time",
                   "time", "--missing", "-999", "--sectors", "4", "--latitude", "55", "--out", tab,
                   "--format", "json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const JsonValue summary = ParseJson(r.out);
  EXPECT_EQ(summary["records"]["read"].number, kRecords);
  EXPECT_EQ(summary["records"]["missing"].number, drawn.missing);
  EXPECT_EQ(summary["records"]["out_of_range"].number, drawn.outOfRange);
  EXPECT_EQ(summary["records"]["used"].number, static_cast<double>(drawn.used.size()));
  EXPECT_EQ(summary["records"]["calm"].number, drawn.calms);
  EXPECT_NEAR(summary["data_recovery"].number, 100.0 * drawn.used.size() / kRecords, 1e-9);
  EXPECT_EQ(summary["height"].number, 10);  // named by the column "ws_10m"
  EXPECT_EQ(summary["first_time"].text, "2020-01-01 00:00");
  for (std::size_t i = 0; i < kDrawnSectors; ++i) {
    const JsonValue& sector = summary["sectors"][i];
    EXPECT_NEAR(sector["weibull_a"].number / kDrawn[i].A, 1, 0.02) << "sector " << i + 1;
    EXPECT_NEAR(sector["weibull_k"].number / kDrawn[i].k, 1, 0.04) << "sector " << i + 1;
    EXPECT_NEAR(sector["frequency"].number, kDrawn[i].frequency, 0.5) << "sector " << i + 1;
  }

  // The file holds the counts binned here: calms spread over the first bin
  // in proportion to the sector counts, per mille of each sector.
  const ClimateFile file = ReadClimateFile(tab);
  double highest = 0;
  for (const auto& s : drawn.used) highest = std::max(highest, s[0]);
  const std::size_t bins = static_cast<std::size_t>(std::floor(highest)) + 1;
  ASSERT_EQ(file.bins.size(), bins + 1);  // and an empty closing bin
  std::vector<std::vector<double>> counts(kDrawnSectors, std::vector<double>(bins, 0.0));
  std::vector<double> sectorTotals(kDrawnSectors, 0.0);
  for (const auto& [speed, direction] : drawn.used) {
    if (speed == 0) continue;
    const std::size_t sector = static_cast<std::size_t>(std::fmod(direction + 45, 360) / 90);
    counts[sector][static_cast<std::size_t>(speed)] += 1;
    sectorTotals[sector] += 1;
  }
  const double windy = Sum(sectorTotals);
  for (std::size_t i = 0; i < kDrawnSectors; ++i) {
    counts[i][0] += drawn.calms * sectorTotals[i] / windy;
    const double total = sectorTotals[i] + drawn.calms * sectorTotals[i] / windy;
    EXPECT_NEAR(file.sectors[i], 100 * sectorTotals[i] / windy, 0.0005);
    double perMille = 0;
    for (std::size_t b = 0; b <= bins; ++b) {
      ASSERT_EQ(file.bins[b].size(), kDrawnSectors + 1);
      EXPECT_EQ(file.bins[b][0], static_cast<double>(b + 1));
      const double expected = b < bins ? 1000 * counts[i][b] / total : 0;
      EXPECT_NEAR(file.bins[b][i + 1], expected, 0.0005) << "sector " << i + 1 << " bin " << b;
      perMille += file.bins[b][i + 1];
    }
    EXPECT_NEAR(perMille, 1000, 0.0005 * static_cast<double>(bins));
  }
  EXPECT_NEAR(Sum(file.sectors), 100, 0.0005 * kDrawnSectors);

  // Over flat terrain the atlas and the prediction at the station undo each
  // other: the engine's fit of the written histogram gives the drawn A back.
  const std::string map = files_.Write("flat.map", FlatMapText());
  const std::string atlas = files_.File("mast.lib");
  const ToolResult a = RunKavicalc(
      {"atlas", "--map", map, "--tab", tab, "--height", "10", "--at", "0,0", "--out", atlas});
  ASSERT_EQ(a.status, 0) << a.err;
  const ToolResult p = RunKavicalc({"predict", "--map", map, "--atlas", atlas, "--height", "10",
                                    "--at", "0,0", "--format", "json"});
  ASSERT_EQ(p.status, 0) << p.err;
  const JsonValue site = ParseJson(p.out)["sites"][0];
  for (std::size_t i = 0; i < kDrawnSectors; ++i)
    EXPECT_NEAR(site["sectors"][i]["weibull_a"].number / kDrawn[i].A, 1, 0.03)
        << "sector " << i + 1;
}

TEST_F(CliClimateTest, PeriodColumnsByNumberDecimalCommasAndThePlot) {
  // Semicolons with decimal commas, a time window, columns by number.
  const std::string series = files_.Write("mast.csv",
                                          "Zeit;Geschwindigkeit;Richtung\n"
                                          "2021-12-31 23:50;9,5;270\n"
                                          "2022-01-01 00:00;4,5;90\n"
                                          "2022-01-01 00:10;NA;90\n"
                                          "2022-01-01 00:20;0;0\n"
                                          "2022-01-01 00:30;5,5;360\n"
                                          "2022-01-02 00:00;7,0;180\n");
  const std::string tab = files_.File("mast.tab");
  const std::string svg = files_.File("mast.svg");
  const ToolResult r = RunKavicalc({"climate",     "--series", series,       "--speed",   "2",
                                    "--direction", "Richtung", "--time",     "Zeit",      "--from",
                                    "2022-01-01",  "--to",     "2022-01-02", "--sectors", "4",
                                    "--height",    "50",       "--latitude", "50",        "--out",
                                    tab,           "--plot",   svg,          "--format",  "json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const JsonValue s = ParseJson(r.out);
  EXPECT_EQ(s["records"]["read"].number, 6);
  EXPECT_EQ(s["records"]["outside_period"].number, 2);
  EXPECT_EQ(s["records"]["missing"].number, 1);
  EXPECT_EQ(s["records"]["used"].number, 3);
  EXPECT_EQ(s["records"]["calm"].number, 1);
  EXPECT_NEAR(s["data_recovery"].number, 75, 1e-12);
  EXPECT_EQ(s["last_time"].text, "2022-01-01 00:30");
  // 4.5 m/s from the east and 5.5 m/s from the north (360°); the calm is spread.
  const ClimateFile file = ReadClimateFile(tab);
  EXPECT_EQ(file.sectors, (std::vector<double>{50, 50, 0, 0}));
  ASSERT_EQ(file.bins.size(), 7u);
  // Each sector holds one record and half the calm: 1/3 of it in the first bin.
  const std::vector<std::vector<double>> expected = {
      {1, 1000.0 / 3, 1000.0 / 3, 0, 0}, {2, 0, 0, 0, 0},          {3, 0, 0, 0, 0}, {4, 0, 0, 0, 0},
      {5, 0, 2000.0 / 3, 0, 0},          {6, 2000.0 / 3, 0, 0, 0}, {7, 0, 0, 0, 0}};
  for (std::size_t b = 0; b < expected.size(); ++b)
    for (std::size_t i = 0; i < 5; ++i)
      EXPECT_NEAR(file.bins[b].at(i), expected[b][i], 0.0005) << "bin " << b << " entry " << i;
  EXPECT_NEAR(s["sectors"][0]["mean_speed"].number, 5.5, 1e-12);
  EXPECT_NEAR(s["all"]["mean_speed"].number, 10.0 / 3, 1e-12);
  EXPECT_TRUE(s["sectors"][0]["weibull_a"].kind == JsonValue::Kind::Null);  // one speed: no fit

  const XmlElement picture = ParseXml(ReadFile(svg));
  EXPECT_EQ(picture.name, "svg");
  EXPECT_EQ(picture.FindAll("g", "sector").size(), 4u);
  EXPECT_FALSE(picture.FindAll("rect", "bar").empty());
  EXPECT_EQ(picture.FindAll("path", "weibull-density").size(), 1u);  // the fit of 4.5 and 5.5
}

}  // namespace
}  // namespace kavi::e2e
