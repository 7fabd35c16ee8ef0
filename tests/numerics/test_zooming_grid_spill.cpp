#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <vector>

#include "numerics/grid_state.h"
#include "numerics/numerical_state.h"
#include "numerics/support/grid_map_builder.h"
#include "numerics/support/test_core.h"
#include "numerics/support/zooming_grid_setup.h"
#include "numerics/zooming_grid.h"
#include "support/scratch_directory.h"

namespace kavi::test {
namespace {

using numerics::kMaxCrossings;

class ZoomingGridSpillTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGridDefaults(); }
  numerics::testing::ScratchWorkingDirectory workingDirectory_;
};

// A two-point contour that crosses exactly one ray (5° spacing): its ends lie
// one degree either side of the ray, so that the chord meets it at `distance`.
void AddCrossing(GridMapBuilder& map, int ray, double distance, float elevation) {
  const double reach = distance / std::cos(std::numbers::pi / 180.0);
  map.AddContour(elevation, {Polar(reach, 5.0 * ray - 1.0), Polar(reach, 5.0 * ray + 1.0)});
}

// `count` single crossings spread round the 72 rays at distances and
// elevations that vary from crossing to crossing.
GridMapBuilder ManyCrossings(int count) {
  GridMapBuilder map;
  for (int i = 0; i < count; ++i) {
    AddCrossing(map, i % 72, 100.0 + 2.0 * (i / 72) + 0.37 * (i % 7), 80.0f + (i % 13) * 5.0f);
  }
  return map;
}

bool WorkFileLeftBehind() {
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    if (entry.path().filename().string().rfind("vemowork", 0) == 0) return true;
  }
  return false;
}

TEST_F(ZoomingGridSpillTest, CrossingsBeyondMemoryGoToWorkFileWithSameGrid) {
  GridMapBuilder inMemory = ManyCrossings(kMaxCrossings);
  const float elevation = BuildGrid(inMemory);
  ASSERT_EQ(TestCore().status, 0);
  EXPECT_EQ(TestCore().grid.crossingCount, kMaxCrossings);
  EXPECT_EQ(TestCore().grid.passCount, 1);
  const std::vector<float> expected(&TestCore().grid.values[0][0], &TestCore().grid.values[72][0]);
  EXPECT_TRUE(std::any_of(expected.begin(), expected.end(), [](float v) { return v != 0.0f; }));

  // One crossing more, a copy of the first: the grid cannot change, but the
  // crossings now go through the work file in several passes.
  GridMapBuilder spilled = ManyCrossings(kMaxCrossings);
  AddCrossing(spilled, 0, 100.0, 80.0f);
  EXPECT_EQ(BuildGrid(spilled), elevation);
  ASSERT_EQ(TestCore().status, 0);
  EXPECT_EQ(TestCore().grid.crossingCount, kMaxCrossings + 1);
  EXPECT_GE(TestCore().grid.passCount, 2);
  const std::vector<float> actual(&TestCore().grid.values[0][0], &TestCore().grid.values[72][0]);
  EXPECT_EQ(actual, expected);
  EXPECT_FALSE(WorkFileLeftBehind());
}

TEST_F(ZoomingGridSpillTest, TooManyCrossingsOnOneRayFail) {
  GridMapBuilder map;
  for (int i = 0; i <= kMaxCrossings; ++i) AddCrossing(map, 0, 100.0 + 0.01 * i, 120.0f);
  BuildGrid(map);
  EXPECT_EQ(TestCore().status, numerics::kStatusMapTooLarge);
  EXPECT_EQ(TestCore().grid.lengthScale, 0.0f);
  EXPECT_FALSE(WorkFileLeftBehind());

  // The same number spread over two rays is fine.
  SetGridDefaults();
  GridMapBuilder spread;
  for (int i = 0; i <= kMaxCrossings; ++i) AddCrossing(spread, i % 2, 100.0 + 0.01 * i, 120.0f);
  BuildGrid(spread);
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_EQ(TestCore().grid.passCount, 2);
}

}  // namespace
}  // namespace kavi::test
