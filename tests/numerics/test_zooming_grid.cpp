#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "numerics/grid_rows.h"
#include "numerics/grid_state.h"
#include "numerics/numerical_state.h"
#include "numerics/support/grid_map_builder.h"
#include "numerics/support/test_core.h"
#include "numerics/support/zooming_grid_setup.h"
#include "numerics/zooming_grid.h"
#include "numerics/zooming_nodes.h"

namespace kavi::test {
namespace {

class ZoomingGridTest : public ::testing::Test {
 protected:
  void SetUp() override { SetGridDefaults(); }
};

// A contour at elevation 100 from the site straight out to 2000 m at bearing
// 180°: it fixes the search radius at 2000 m (G = 3000 m) and, crossing rays
// 1 … 36 at the site itself, pins the site elevation to 100 m.
void AddSiteAnchor(GridMapBuilder& map) {
  map.AddContour(100.0f, {{0.0f, 0.0f}, {-2000.0f, 0.0f}});
}

// Rays whose row holds any non-zero value.
std::set<int> RaysWithTerrain() {
  std::set<int> rays;
  for (int k = 0; k < TestCore().grid.rayCount; ++k) {
    for (float v : TestCore().grid.values[k]) {
      if (v != 0.0f) {
        rays.insert(k);
        break;
      }
    }
  }
  return rays;
}

TEST_F(ZoomingGridTest, NodeRadiiGrowGeometrically) {
  const numerics::ZoomingNodes nodes = numerics::ComputeZoomingNodes(TestCore());
  EXPECT_FLOAT_EQ(nodes.radius[0], 1.67289e-4f);
  EXPECT_NEAR(nodes.radius[1], 3.4462e-4f, 1e-8f);
  EXPECT_NEAR(nodes.radius[9], 2.2050e-3f, 1e-7f);
  EXPECT_NEAR(nodes.radius[49], 0.048570f, 2e-6f);
  EXPECT_NEAR(nodes.radius[99], 0.94323f, 2e-5f);
  EXPECT_NEAR(nodes.step[99] / nodes.step[98], 1.06f, 1e-6f);
}

TEST_F(ZoomingGridTest, RayCountFollowsSpacing) {
  GridMapBuilder map;
  map.AddCircle(100.0f, 0.0f, 0.0f, 1000.0f, 360);
  BuildGrid(map);
  EXPECT_EQ(TestCore().grid.rayCount, 72);
  EXPECT_EQ(TestCore().grid.raySpacing, 5);

  SetParameter(numerics::kRaySpacing, 7.0f);
  BuildGrid(map);
  EXPECT_EQ(TestCore().grid.rayCount, 51);
  EXPECT_EQ(TestCore().grid.crossingCount, 51);  // each ray, 0° … 350°, crosses the circle once

  // A short segment across bearing 350°: ray 50 with a spacing of 7, ray 70 with 5.
  GridMapBuilder across;
  AddSiteAnchor(across);
  across.AddContour(160.0f, {Polar(800.0, 348.0), Polar(800.0, 352.0)});
  BuildGrid(across);
  EXPECT_EQ(RaysWithTerrain(), std::set<int>{50});
  SetParameter(numerics::kRaySpacing, 5.0f);
  BuildGrid(across);
  EXPECT_EQ(RaysWithTerrain(), std::set<int>{70});
}

TEST_F(ZoomingGridTest, TwoLevelCirclesGiveFlatGridAtTheirElevation) {
  GridMapBuilder map;
  map.AddCircle(100.0f, 0.0f, 0.0f, 500.0f, 720);
  map.AddCircle(100.0f, 0.0f, 0.0f, 2000.0f, 720);
  const float elevation = BuildGrid(map);
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_NEAR(TestCore().grid.searchRadius, 2000.0f, 1e-3f);
  EXPECT_NEAR(TestCore().grid.lengthScale, 3000.0f, 2e-3f);
  EXPECT_FLOAT_EQ(elevation, 100.0f);
  EXPECT_FLOAT_EQ(TestCore().grid.siteElevation, 100.0f);
  EXPECT_EQ(TestCore().grid.crossingCount, 2 * 72);  // every ray crosses both circles
  EXPECT_EQ(TestCore().grid.passCount, 1);
  EXPECT_TRUE(RaysWithTerrain().empty());
}

TEST_F(ZoomingGridTest, SingleCrossingRisesLinearlyThenHolds) {
  GridMapBuilder map;
  AddSiteAnchor(map);
  // Crosses ray 0 only, at 600 m: t = 600 / 3000 = 0.2.
  map.AddContour(150.0f, {{600.0f, -26.0f}, {600.0f, 26.0f}});
  EXPECT_FLOAT_EQ(BuildGrid(map), 100.0f);
  ASSERT_EQ(TestCore().status, 0);
  EXPECT_FLOAT_EQ(TestCore().grid.lengthScale, 3000.0f);
  EXPECT_EQ(RaysWithTerrain(), std::set<int>{0});
  const numerics::ZoomingNodes nodes = numerics::ComputeZoomingNodes(TestCore());
  int rising = 0;
  for (int j = 0; j < numerics::kGridNodes; ++j) {
    const float r = nodes.radius[j];
    if (r <= 0.2f) {
      ++rising;
      EXPECT_NEAR(TestCore().grid.values[0][j], 250.0f * r, 1e-4f * 50.0f) << "node " << j + 1;
    } else {
      EXPECT_FLOAT_EQ(TestCore().grid.values[0][j], 50.0f) << "node " << j + 1;
    }
  }
  EXPECT_EQ(rising, 73);  // r(73) = 0.1934, r(74) = 0.2051
}

TEST_F(ZoomingGridTest, LargeHeightDifferencesAreSoftened) {
  EXPECT_FLOAT_EQ(numerics::SoftenedDifference(1600.0f, 1000.0f, 0.5f), 1300.0f);
  EXPECT_FLOAT_EQ(numerics::SoftenedDifference(-1600.0f, 1000.0f, 0.5f), -1300.0f);
  EXPECT_FLOAT_EQ(numerics::SoftenedDifference(700.0f, 1000.0f, 0.5f), 700.0f);
  EXPECT_FLOAT_EQ(numerics::SoftenedDifference(-1600.0f, 1000.0f, 1.0f), -1600.0f);
  EXPECT_FLOAT_EQ(numerics::SoftenedDifference(2500.0f, 500.0f, 0.0f), 500.0f);

  SetParameter(numerics::kInversionSoftening, 0.5f);
  GridMapBuilder map;
  AddSiteAnchor(map);
  map.AddContour(1700.0f, {{600.0f, -26.0f}, {600.0f, 26.0f}});          // ray 0, 1600 up
  map.AddContour(-1500.0f, {Polar(900.0, 268.0), Polar(900.0, 272.0)});  // ray 54, 1600 down
  BuildGrid(map);
  EXPECT_FLOAT_EQ(TestCore().grid.values[0][99], 1300.0f);
  EXPECT_FLOAT_EQ(TestCore().grid.values[54][99], -1300.0f);
}

TEST_F(ZoomingGridTest, SegmentThroughBearingZeroCrossesOnlyTheRaysItSweeps) {
  GridMapBuilder map;
  AddSiteAnchor(map);
  map.AddContour(150.0f, {Polar(1000.0, 350.0), Polar(1000.0, 10.0)});
  BuildGrid(map);
  // Sweeps 355°, 0° and 5°, and reaches 10° with its end point (the ray at
  // 350°, where it starts, belongs to the segment before it). None of the 68
  // rays from 15° to 350° the long way round.
  EXPECT_EQ(TestCore().grid.crossingCount, 36 + 4);
  EXPECT_EQ(RaysWithTerrain(), (std::set<int>{0, 1, 2, 71}));
}

TEST_F(ZoomingGridTest, RoughnessOnlyMapHasNoGrid) {
  GridMapBuilder map;
  map.AddRoughnessLine(0.03f, 0.5f, {{-500.0f, 300.0f}, {500.0f, 300.0f}});
  TestCore().grid.lengthScale = 123.0f;
  EXPECT_EQ(BuildGrid(map), 0.0f);
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_EQ(TestCore().grid.lengthScale, 0.0f);

  GridMapBuilder empty;
  EXPECT_EQ(BuildGrid(empty), 0.0f);
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_EQ(TestCore().grid.lengthScale, 0.0f);
}

TEST_F(ZoomingGridTest, ContoursBeyondMaximumRadiusFail) {
  GridMapBuilder map;
  map.AddCircle(100.0f, 0.0f, 0.0f, 30000.0f, 360);
  BuildGrid(map);
  EXPECT_EQ(TestCore().status, numerics::kStatusRadiusTooSmall);
  EXPECT_EQ(TestCore().grid.lengthScale, 0.0f);

  SetGridDefaults();
  SetParameter(numerics::kMaxSearchRadius, 50000.0f);
  BuildGrid(map);
  EXPECT_EQ(TestCore().status, 0);
  EXPECT_NEAR(TestCore().grid.searchRadius, 30000.0f, 0.01f);
}

}  // namespace
}  // namespace kavi::test

namespace kavi::test {
namespace {

// Sorts copies of (t, code) pairs and checks the order by ray, then t, and that
// every t kept its code.
void ExpectSortedLikeReference(std::vector<float> t, std::vector<int> code, int rays) {
  std::vector<std::pair<float, int>> reference;
  for (std::size_t i = 0; i < t.size(); ++i) reference.emplace_back(t[i], code[i]);
  std::vector<numerics::GridCrossing> crossings;
  for (std::size_t i = 0; i < t.size(); ++i) crossings.push_back({t[i], code[i]});
  numerics::SortCrossings(crossings.data(), static_cast<int>(crossings.size()), rays);
  std::vector<std::pair<float, int>> sorted;
  for (const numerics::GridCrossing& c : crossings) sorted.emplace_back(c.t, c.code);
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    const int before = sorted[i - 1].second % rays;
    const int after = sorted[i].second % rays;
    ASSERT_TRUE(before < after || (before == after && sorted[i - 1].first <= sorted[i].first))
        << "at " << i;
  }
  std::sort(reference.begin(), reference.end());
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, reference);
}

TEST(SortCrossingsTest, OrdersByRayThenDistance) {
  std::mt19937 random(7);
  std::vector<float> t(numerics::kMaxCrossings);
  std::vector<int> code(numerics::kMaxCrossings);
  for (int i = 0; i < numerics::kMaxCrossings; ++i) {
    t[i] = static_cast<float>(random() % 1000) / 1000.0f;  // many equal distances
    code[i] = static_cast<int>(random() % 72) + 72 * static_cast<int>(3 + random() % 5000);
  }
  ExpectSortedLikeReference(t, code, 72);

  std::vector<float> ascending(3000);
  std::vector<int> rays(3000);
  for (int i = 0; i < 3000; ++i) {
    ascending[i] = static_cast<float>(i);
    rays[i] = (i * 51) / 3000 + 51 * 3;
  }
  ExpectSortedLikeReference(ascending, rays, 51);
  std::reverse(ascending.begin(), ascending.end());
  std::reverse(rays.begin(), rays.end());
  ExpectSortedLikeReference(ascending, rays, 51);
  ExpectSortedLikeReference(std::vector<float>(500, 0.25f), std::vector<int>(500, 72 * 9 + 4), 72);

  numerics::GridCrossing one{0.5f, 75};
  numerics::SortCrossings(&one, 1, 72);
  EXPECT_EQ(one.t, 0.5f);
  EXPECT_EQ(one.code, 75);
}

}  // namespace
}  // namespace kavi::test
