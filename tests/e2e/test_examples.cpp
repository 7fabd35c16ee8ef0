// The bundled example data set (examples/): the generator reproduces the
// committed files, the committed atlas is what the tool makes from the station
// files, the station's roughness rose sees the map's coast, forest and village
// where they lie, and the prediction rises over the ridge. Skipped while the
// server reports a step as not implemented.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/json_reader.h"
#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

const std::string kExamples = std::string(KAVI_SOURCE_DIR) + "/examples/";
const std::string kMap = kExamples + "site.map";
const std::string kStationAt = "-1000,0";  // the mast, 10 m above ground

// Runs a shell command and returns its exit status (-1 when it did not exit).
int Shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<double> Numbers(const std::string& text) {
  std::vector<double> numbers;
  std::istringstream in(text);
  for (double value; in >> value;) numbers.push_back(value);
  return numbers;
}

TEST(Examples, GeneratorWritesTheBundledFilesByteForByte) {
  if (Shell("command -v python3 >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  ScratchFolder folder;
  const std::string copy = folder.File("generate_examples.py");
  std::filesystem::copy_file(kExamples + "generate_examples.py", copy);
  const std::string run = "python3 -B '" + copy + "'";
  EXPECT_EQ(Shell(run + " --check 2>/dev/null"), 1);  // nothing written yet
  ASSERT_EQ(Shell(run), 0);
  for (const char* name : {"site.map", "station.tab", "station.obs", "turbines.csv"}) {
    EXPECT_EQ(ReadFile(folder.File(name)), ReadFile(kExamples + name))
        << name << " differs from what examples/generate_examples.py writes";
  }
  EXPECT_EQ(Shell(run + " --check"), 0);
}

TEST(Examples, BundledAtlasIsWhatTheToolMakesFromTheStationFiles) {
  ScopedRegistry registry;
  ScratchFolder folder;
  const std::string atlas = folder.File("station.lib");
  const ToolResult made =
      RunKavicalc({"atlas", "--map", kMap, "--tab", kExamples + "station.tab", "--height", "10",
                   "--at", kStationAt, "--obstacles", kExamples + "station.obs", "--out", atlas});
  ASSERT_EQ(made.status, 0) << made.err;
  const std::vector<double> fresh = Numbers(ReadFile(atlas));
  const std::vector<double> bundled = Numbers(ReadFile(kExamples + "station.lib"));
  // 5 classes, 5 heights, 12 sectors: header, lengths, heights, then per class
  // the frequencies and per height A and k.
  ASSERT_EQ(fresh.size(), 3u + 5 + 5 + 5 * (12 + 5 * 2 * 12));
  ASSERT_EQ(bundled.size(), fresh.size()) << "examples/station.lib is out of date";
  for (std::size_t i = 0; i < fresh.size(); ++i) {
    ASSERT_NEAR(bundled[i], fresh[i], 0.015)
        << "examples/station.lib is out of date (value " << i << "); make it again with "
        << "the atlas command in examples/README.md";
  }
}

// The rose file as rings per sector: z0[ring] and the distance where each
// ring after the first begins.
struct SectorRose {
  std::vector<double> z0;
  std::vector<double> distance;
};

std::vector<SectorRose> ReadRose(const std::string& text) {
  std::istringstream in(text);
  std::string skipped;
  std::getline(in, skipped);
  std::getline(in, skipped);
  int n = 0;
  in >> n;
  std::vector<int> changes(n);
  int most = 0;
  for (int& c : changes) {
    in >> c;
    most = std::max(most, c);
  }
  std::vector<std::vector<double>> z0(most + 1, std::vector<double>(n));
  std::vector<std::vector<double>> d(most, std::vector<double>(n));
  for (int r = 0; r < most; ++r) {
    for (double& v : z0[r]) in >> v;
    for (double& v : d[r]) in >> v;
  }
  for (double& v : z0[most]) in >> v;
  std::vector<SectorRose> rose(n);
  for (int s = 0; s < n; ++s) {
    for (int r = 0; r <= changes[s]; ++r) rose[s].z0.push_back(z0[r][s]);
    for (int r = 0; r < changes[s]; ++r) rose[s].distance.push_back(d[r][s]);
  }
  if (!in) rose.clear();
  return rose;
}

// The first ring of the sector whose roughness passes the test, or -1.
template <typename Test>
int FirstRing(const SectorRose& sector, Test test) {
  for (std::size_t r = 0; r < sector.z0.size(); ++r) {
    if (test(sector.z0[r])) return static_cast<int>(r);
  }
  return -1;
}

TEST(Examples, StationRoseSeesTheCoastTheForestAndTheVillage) {
  ScopedRegistry registry;
  ScratchFolder folder;
  const std::string file = folder.File("station.rrd");
  const ToolResult made =
      RunKavicalc({"rose", "--map", kMap, "--sectors", "12", "--at", kStationAt, "--out", file});
  ASSERT_EQ(made.status, 0) << made.err;
  const std::vector<SectorRose> rose = ReadRose(ReadFile(file));
  ASSERT_EQ(rose.size(), 12u);

  // The mast stands on farmland in every direction.
  for (const SectorRose& sector : rose) EXPECT_NEAR(sector.z0[0], 0.03, 0.01);
  // North-east to east: farmland as far as the map goes.
  for (int s : {1, 2, 3}) EXPECT_TRUE(rose[s].distance.empty()) << "sector " << s + 1;

  // West (sectors 10 and 11): the sea beyond the coast, 3.7 to 6 km away.
  for (int s : {9, 10}) {
    const int water = FirstRing(rose[s], [](double z0) { return z0 == 0.0; });
    ASSERT_GT(water, 0) << "sector " << s + 1;
    EXPECT_GT(rose[s].distance[water - 1], 3500.0);
    EXPECT_LT(rose[s].distance[water - 1], 6000.0);
  }
  // South-south-east (sector 6): the forest's edge 1.3 km away.
  const int forest = FirstRing(rose[5], [](double z0) { return z0 > 0.3; });
  ASSERT_GT(forest, 0);
  EXPECT_GT(rose[5].distance[forest - 1], 1100.0);
  EXPECT_LT(rose[5].distance[forest - 1], 2000.0);
  // North (sector 1): the village, 1.9 to 2.9 km away, and farmland behind it.
  const int village = FirstRing(rose[0], [](double z0) { return z0 > 0.08; });
  ASSERT_GT(village, 0);
  EXPECT_GT(rose[0].distance[village - 1], 1500.0);
  EXPECT_LT(rose[0].distance[village - 1], 2500.0);
  EXPECT_NEAR(rose[0].z0.back(), 0.03, 0.01);
}

TEST(Examples, PredictionRisesOverTheRidgeAndFallsAtItsFoot) {
  ScopedRegistry registry;
  const ToolResult r = RunKavicalc({"predict", "--map", kMap, "--atlas", kExamples + "station.lib",
                                    "--sites", kExamples + "turbines.csv", "--format", "json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const JsonValue sites = ParseJson(r.out)["sites"];
  ASSERT_EQ(sites.items.size(), 20u);
  std::vector<double> A;
  for (const JsonValue& site : sites.items) {
    EXPECT_EQ(site["height"].number, 80.0);
    const double a = site["weibull_a"].number;
    const double k = site["weibull_k"].number;
    EXPECT_TRUE(a > 5.0 && a < 20.0) << a;
    EXPECT_TRUE(k > 1.5 && k < 3.0) << k;
    double frequency = 0;
    for (const JsonValue& sector : site["sectors"].items) frequency += sector["frequency"].number;
    EXPECT_NEAR(frequency, 100.0, 1e-3);
    A.push_back(a);
  }
  // Rows of turbines.csv: 0-4 along the ridge (0 its top), 5 the round hill's
  // top and 6-7 its shoulders, 8-9 the ridge's feet, 10-19 the plain.
  EXPECT_GT(sites[0]["elevation"].number, 100.0);  // the ridge top is 120 m high
  EXPECT_LE(sites[0]["elevation"].number, 120.0);
  for (std::size_t plain = 10; plain < 20; ++plain) {
    EXPECT_LT(sites[plain]["elevation"].number, 10.0);
    for (std::size_t top : {0, 1, 2}) EXPECT_GT(A[top], A[plain]) << top << " vs " << plain;
  }
  for (std::size_t foot : {8, 9}) EXPECT_LT(A[foot], A[0] - 1.0);
  for (std::size_t shoulder : {6, 7}) EXPECT_GT(A[5], A[shoulder]);
}

}  // namespace
}  // namespace kavi::e2e
