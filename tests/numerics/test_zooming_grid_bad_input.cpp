#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numerics/grid_state.h"
#include "numerics/numerical_state.h"
#include "numerics/orographic_terms.h"
#include "numerics/support/grid_map_builder.h"
#include "numerics/support/test_core.h"
#include "numerics/support/zooming_grid_setup.h"
#include "numerics/zooming_grid.h"

namespace kavi::test {
namespace {

class ZoomingGridBadInputTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGridDefaults(); }
};

// Every value the grid and its spectrum hand on is a finite number.
void ExpectFiniteResults(float elevation) {
  EXPECT_TRUE(std::isfinite(elevation));
  EXPECT_TRUE(std::isfinite(TestCore().grid.lengthScale));
  for (int k = 0; k < TestCore().grid.rayCount; ++k) {
    for (float v : TestCore().grid.values[k]) ASSERT_TRUE(std::isfinite(v)) << "ray " << k;
  }
  numerics::GridSpectrum(TestCore(), 12);
  for (int s = 0; s < 12; ++s) {
    for (const auto& term : TestCore().grid.coefficients[s]) {
      for (float a : term) ASSERT_TRUE(std::isfinite(a)) << "sector " << s + 1;
    }
  }
}

TEST_F(ZoomingGridBadInputTest, RepeatedPointsAndZeroLengthSegmentsAddNothing) {
  GridMapBuilder clean;
  clean.AddCircle(100.0f, 0.0f, 0.0f, 800.0f, 90);
  clean.AddCircle(140.0f, 0.0f, 0.0f, 1500.0f, 90);
  BuildGrid(clean);
  const int crossings = TestCore().grid.crossingCount;
  const float first = TestCore().grid.values[7][60];

  // The same contours with every corner given twice.
  GridMapBuilder doubled;
  for (auto [elevation, radius] : {std::pair{100.0f, 800.0}, std::pair{140.0f, 1500.0}}) {
    MapPoints points;
    for (int i = 0; i <= 90; ++i) {
      points.push_back(Polar(radius, 4.0 * (i % 90)));
      points.push_back(points.back());
    }
    doubled.AddContour(elevation, points);
  }
  const float elevation = BuildGrid(doubled);
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_EQ(TestCore().grid.crossingCount, crossings);
  EXPECT_EQ(TestCore().grid.values[7][60], first);
  ExpectFiniteResults(elevation);

  // A contour that is a single repeated point crosses no ray.
  GridMapBuilder dot;
  dot.AddContour(100.0f, {{300.0f, 200.0f}, {300.0f, 200.0f}, {300.0f, 200.0f}});
  BuildGrid(dot);
  EXPECT_EQ(TestCore().status, numerics::kStatusRadiusTooSmall);
}

TEST_F(ZoomingGridBadInputTest, ContourThroughTheSiteSetsItsElevation) {
  GridMapBuilder map;
  map.AddCircle(200.0f, 0.0f, 0.0f, 2000.0f, 360);
  map.AddContour(150.0f, {{-1000.0f, -1000.0f}, {1000.0f, 1000.0f}});  // straight through
  const float elevation = BuildGrid(map);
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_FLOAT_EQ(elevation, 150.0f);
  EXPECT_FLOAT_EQ(TestCore().grid.values[20][99], 50.0f);  // beyond the circle
  ExpectFiniteResults(elevation);

  // A contour with a corner exactly at the site.
  GridMapBuilder corner;
  corner.AddCircle(200.0f, 0.0f, 0.0f, 2000.0f, 360);
  corner.AddContour(120.0f, {{1000.0f, 500.0f}, {0.0f, 0.0f}, {-300.0f, 900.0f}});
  const float cornerElevation = BuildGrid(corner);
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_FLOAT_EQ(cornerElevation, 120.0f);
  ExpectFiniteResults(cornerElevation);
}

TEST_F(ZoomingGridBadInputTest, ContoursAllAtOneHeightGiveAFlatGrid) {
  GridMapBuilder map;
  map.AddCircle(80.0f, 0.0f, 0.0f, 300.0f, 60);
  map.AddCircle(80.0f, 50.0f, -20.0f, 700.0f, 60);
  map.AddContour(80.0f, {{-900.0f, 1200.0f}, {1500.0f, 1300.0f}, {1600.0f, -400.0f}});
  const float elevation = BuildGrid(map);
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_FLOAT_EQ(elevation, 80.0f);
  for (int k = 0; k < TestCore().grid.rayCount; ++k) {
    for (float v : TestCore().grid.values[k]) ASSERT_EQ(v, 0.0f);
  }
  numerics::GridSpectrum(TestCore(), 12);
  for (const auto& term : TestCore().grid.coefficients[11]) {
    for (float a : term) EXPECT_EQ(a, 0.0f);
  }
}

TEST_F(ZoomingGridBadInputTest, ContourAtTheMaximumRadiusStillCounts) {
  GridMapBuilder edge;
  edge.AddCircle(100.0f, 0.0f, 0.0f, 20000.0f, 720);
  edge.AddCircle(160.0f, 0.0f, 0.0f, 9000.0f, 720);
  const float elevation = BuildGrid(edge);
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_EQ(TestCore().grid.crossingCount, 2 * 72);
  EXPECT_NEAR(TestCore().grid.lengthScale, 30000.0f, 0.05f);
  ExpectFiniteResults(elevation);

  GridMapBuilder beyond;
  beyond.AddCircle(100.0f, 0.0f, 0.0f, 20010.0f, 720);
  BuildGrid(beyond);
  EXPECT_EQ(TestCore().status, numerics::kStatusRadiusTooSmall);
}

TEST_F(ZoomingGridBadInputTest, DamagedStorageIsNeverReadPastItsEnd) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  GridMapBuilder map(72);
  map.AddCircle(100.0f, 0.0f, 0.0f, 1000.0f, 12);
  map.AddContour(130.0f, {{nan, 10.0f}, {1200.0f, -200.0f}, {1200.0f, 200.0f}, {inf, 0.0f}});
  map.AddContour(nan, {{200.0f, -50.0f}, {200.0f, 50.0f}});
  map.AddContour(3e38f, {{300.0f, -50.0f}, {300.0f, 50.0f}});
  const int lines = map.lineCount();
  float elevation = 0.0f;
  elevation = numerics::BuildZoomingGrid(TestCore(), {map.x(), map.y(), lines, map.capacity()},
                                         {0.0f, 0.0f});
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_FLOAT_EQ(elevation, 100.0f);  // contours without a usable elevation are passed over
  EXPECT_FLOAT_EQ(TestCore().grid.values[0][99], 30.0f);  // the finite segment of the 130 m contour
  ExpectFiniteResults(elevation);

  // More lines claimed than stored, and a point count running past the end.
  elevation = numerics::BuildZoomingGrid(
      TestCore(), {map.x(), map.y(), lines + 1000, map.capacity()}, {0.0f, 0.0f});
  EXPECT_EQ(TestCore().status, 0);
  map.y()[map.entryCount() - 5] = 1e9f;  // the last line's point count
  elevation = numerics::BuildZoomingGrid(TestCore(), {map.x(), map.y(), lines, map.capacity()},
                                         {0.0f, 0.0f});
  ExpectFiniteResults(elevation);
  map.y()[0] = nan;  // the first line's point count
  elevation = numerics::BuildZoomingGrid(TestCore(), {map.x(), map.y(), lines, map.capacity()},
                                         {0.0f, 0.0f});
  EXPECT_EQ(TestCore().grid.lengthScale, 0.0f);
  elevation =
      numerics::BuildZoomingGrid(TestCore(), {map.x(), map.y(), -3, map.capacity()}, {0.0f, 0.0f});
  EXPECT_EQ(TestCore().grid.lengthScale, 0.0f);
}

TEST_F(ZoomingGridBadInputTest, SiteFarFromHugeCoordinates) {
  GridMapBuilder map;
  map.AddContour(100.0f, {{1e30f, -1e30f}, {1e30f, 1e30f}, {-1e30f, 1e30f}});
  map.AddCircle(50.0f, 0.0f, 0.0f, 400.0f, 36);
  const float elevation = BuildGrid(map);
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_FLOAT_EQ(TestCore().grid.searchRadius, 20000.0f);
  ExpectFiniteResults(elevation);

  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float none = numerics::BuildZoomingGrid(
      TestCore(), {map.x(), map.y(), map.lineCount(), map.capacity()}, {nan, 0.0f});
  EXPECT_EQ(TestCore().status, numerics::kStatusRadiusTooSmall);
  EXPECT_EQ(none, 0.0f);
}

}  // namespace
}  // namespace kavi::test
