// Inputs that read as numbers but cannot describe a real site are refused
// with the reader's status, leaving what was loaded before as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numerics/atlas_file.h"
#include "numerics/map_input.h"
#include "numerics/numerical_state.h"
#include "numerics/observed_climate.h"
#include "numerics/support/scratch_directory.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

int StatusAfter(auto action) {
  TestCore().status = kStatusOk;
  action();
  const int status = TestCore().status;
  TestCore().status = kStatusOk;
  return status;
}

int LoadAtlasText(const std::string& text, AtlasTables& atlas, int& sectors) {
  testing::ScratchDirectory dir;
  const std::string path = dir.Write("a.lib", text);
  char title[kAtlasTitleWidth];
  return StatusAfter([&] { LoadAtlas(TestCore(), atlas, sectors, title, path); });
}

// Two classes, two heights, two sectors; the second sector's frequency is
// `f2`, so that its A and k count only when it blows.
std::string Atlas(const std::string& roughness, const std::string& heights, const std::string& a,
                  const std::string& k, const std::string& f2 = "50") {
  std::string text = "t\n2 2 2\n" + roughness + "\n" + heights + "\n";
  for (int r = 0; r < 2; ++r) {
    text += "50 " + f2 + "\n";
    for (int h = 0; h < 2; ++h) text += "6 " + a + "\n2 " + k + "\n";
  }
  return text;
}

TEST(InputPlausibility, AtlasWeibullParametersClassesAndHeights) {
  struct Case {
    std::string text;
    int status;
  };
  const std::vector<Case> cases = {
      {Atlas("0.03 0.1", "10 50", "7", "2"), kStatusOk},
      {Atlas("0.000 0.1", "10 50", "0", "0.5"), kStatusOk},  // bounds included; 0 raised
      {Atlas("0.03 0.1", "10 50", "100", "20"), kStatusOk},
      {Atlas("0.03 0.1", "10 50", "1e30", "2"), kStatusCannotOpenFile},
      {Atlas("0.03 0.1", "10 50", "100.01", "2"), kStatusCannotOpenFile},
      {Atlas("0.03 0.1", "10 50", "7", "0.1"), kStatusCannotOpenFile},
      {Atlas("0.03 0.1", "10 50", "7", "20.5"), kStatusCannotOpenFile},
      // A sector that never blows may hold anything.
      {Atlas("0.03 0.1", "10 50", "1e30", "0.1", "0"), kStatusOk},
      {Atlas("0.1 0.03", "10 50", "7", "2"), kStatusCannotOpenFile},       // classes decreasing
      {Atlas("0.1 0.1", "10 50", "7", "2"), kStatusCannotOpenFile},        // classes equal
      {Atlas("0.0001 0.0002", "10 50", "7", "2"), kStatusCannotOpenFile},  // equal once raised
      {Atlas("0.03 0.1", "50 10", "7", "2"), kStatusCannotOpenFile},       // heights decreasing
  };
  for (const Case& c : cases) {
    AtlasTables atlas;
    atlas.weibullA[0][0][0] = 4.0f;
    int sectors = 12;
    EXPECT_EQ(LoadAtlasText(c.text, atlas, sectors), c.status) << c.text;
    if (c.status != kStatusOk) {
      EXPECT_EQ(sectors, 12);
      EXPECT_EQ(atlas.weibullA[0][0][0], 4.0f);
    }
  }
}

int ReadClimateText(const std::string& text, ObservedClimate& climate) {
  testing::ScratchDirectory dir;
  const std::string path = dir.Write("c.tab", text);
  return StatusAfter([&] { ReadObservedClimate(TestCore(), climate, path); });
}

TEST(InputPlausibility, ClimateLatitudeSpeedFactorAndBinLimits) {
  struct Case {
    std::string text;
    int status;
  };
  const std::vector<Case> cases = {
      {"t\n55 0 10\n1 1 0\n\n1 5\n2 5\n", kStatusOk},
      {"t\n-90 0 10\n1 1 0\n\n0 5\n2 5\n", kStatusOk},  // a first calm bin of limit 0
      {"t\n90 0 10\n1 1 0\n\n0.5 5\n1 5\n", kStatusOk},
      {"t\n1000 0 10\n1 1 0\n\n1 5\n2 5\n", kStatusCannotOpenFile},
      {"t\n-90.5 0 10\n1 1 0\n\n1 5\n2 5\n", kStatusCannotOpenFile},
      {"t\n55 0 10\n1 -1 0\n\n1 5\n2 5\n", kStatusCannotOpenFile},
      {"t\n55 0 10\n1 1e-30 0\n\n1 5\n2 5\n", kStatusCannotOpenFile},   // no bin reaches 1 m/s
      {"t\n55 0 10\n1 1 0\n\n1 5\n1 5\n", kStatusCannotOpenFile},       // a bin of no width
      {"t\n55 0 10\n1 1 0\n\n0 5\n0 5\n2 5\n", kStatusCannotOpenFile},  // limit 0 after the first
      // Negative flags other than -1 repeat the last limit, as the format says.
      {"t\n55 0 10\n1 1 0 -2\n\n1 5\n2 5\n3 5\n", kStatusOk},
  };
  for (const Case& c : cases) {
    ObservedClimate climate;
    climate.sectorCount = 12;
    climate.latitude = 50.0f;
    EXPECT_EQ(ReadClimateText(c.text, climate), c.status) << c.text;
    if (c.status != kStatusOk) {
      EXPECT_EQ(climate.sectorCount, 12);
      EXPECT_EQ(climate.latitude, 50.0f);
    }
  }
}

int MapStatus(const std::string& text) {
  testing::ScratchDirectory dir;
  const std::string path = dir.Write("m.map", text);
  std::vector<float> X(1000);
  std::vector<float> Y(1000);
  MapContents contents;
  return StatusAfter([&] { MapInput(TestCore(), path, X, Y, contents); });
}

TEST(InputPlausibility, MapRoughnessLengths) {
  const std::string points = "1 1 2 2 3 3\n";
  EXPECT_EQ(MapStatus("+\n\n1\n0 10 3\n" + points), kStatusOk);
  EXPECT_EQ(MapStatus("+\n\n1\n0.03 0.1 120 3\n" + points), kStatusOk);
  EXPECT_EQ(MapStatus("+\n\n1\n-0.1 0.1 3\n" + points), kStatusMapError);
  EXPECT_EQ(MapStatus("+\n\n1\n0.03 10.5 3\n" + points), kStatusMapError);
  EXPECT_EQ(MapStatus("+\n\n1\n0.03 1e30 120 3\n" + points), kStatusMapError);
  // A dropped line of fewer than two points is checked all the same.
  EXPECT_EQ(MapStatus("+\n\n1\n-5 0.1 1\n1 1\n"), kStatusMapError);
  // Contours have no roughness: their elevation may be anything finite.
  EXPECT_EQ(MapStatus("+\n\n1\n-30 3\n" + points), kStatusOk);
}

}  // namespace
}  // namespace kavi::numerics
