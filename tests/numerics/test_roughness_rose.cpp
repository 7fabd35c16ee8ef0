// The roughness rose derived from roughness-change lines: geometry, sides,
// the step fit and the sectors without crossings, checked against values
// worked out by hand from the map.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "numerics/numerical_state.h"
#include "numerics/roughness_rose_from_map.h"
#include "numerics/support/roughness_map_storage.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

using test::ArcPoints;
using test::CirclePoints;
using test::RoughnessMapStorage;

constexpr float kSiteX = 5000.0f;
constexpr float kSiteY = -3000.0f;

class RoughnessRoseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::SetRoseDefaults();
    test::ResetRose(rose_);
  }
  void Derive(int sectors) {
    MapRoughnessRose(TestCore(), {map_.x(), map_.y(), map_.lineCount(), map_.capacity()},
                     {kSiteX, kSiteY}, sectors, rose_);
  }

  RoughnessMapStorage map_;
  RoughnessRose rose_;
};

// Where a crossing at distance s ends up on the decay scale D.
double DecayPosition(double s, double decay) {
  return decay * (1.0 - std::exp(-(s + 0.1) / decay));
}

TEST_F(RoughnessRoseTest, ClosedLineAroundSiteGivesOneChangeEverywhere) {
  for (const int sectors : {12, 16}) {
    for (const bool counterClockwise : {true, false}) {
      SCOPED_TRACE(::testing::Message() << sectors << " sectors, ccw " << counterClockwise);
      test::ResetRose(rose_);
      map_ = RoughnessMapStorage();
      map_.AddRoughnessLine(0.1f, 0.5f,
                            CirclePoints(kSiteX, kSiteY, 1000.0, 720, counterClockwise));
      SetParameter(kMaxChangesPerSector, 7.0f);
      Derive(sectors);
      ASSERT_EQ(TestCore().status, kStatusOk);
      // Counter-clockwise the site is on the left of the line: 0.1 inside.
      const float inside = counterClockwise ? 0.1f : 0.5f;
      const float outside = counterClockwise ? 0.5f : 0.1f;
      for (int s = 0; s < sectors; ++s) {
        EXPECT_EQ(rose_.changes[s], 1) << "sector " << s;
        EXPECT_NEAR(rose_.z0[0][s], inside, 1e-5f);
        EXPECT_NEAR(rose_.z0[1][s], outside, 1e-5f);
        // 1000 m plus the 0.1 m offset of the distance transform.
        EXPECT_NEAR(rose_.distance[0][s], 1000.1f, 0.05f);
      }
    }
  }
}

TEST_F(RoughnessRoseTest, WaterSideOfSeaLandLineIsZero) {
  // An island: land 0.03 inside, sea outside.
  map_.AddRoughnessLine(0.03f, 0.0f, CirclePoints(kSiteX, kSiteY, 1000.0, 360, true));
  Derive(12);
  for (int s = 0; s < 12; ++s) {
    ASSERT_EQ(rose_.changes[s], 1);
    EXPECT_NEAR(rose_.z0[0][s], 0.03f, 1e-6f);
    EXPECT_EQ(rose_.z0[1][s], 0.0f);
  }
  // At sea with the coast 1 km away.
  map_ = RoughnessMapStorage();
  map_.AddRoughnessLine(0.0f, 0.03f, CirclePoints(kSiteX, kSiteY, 1000.0, 360, true));
  Derive(12);
  for (int s = 0; s < 12; ++s) {
    ASSERT_EQ(rose_.changes[s], 1);
    EXPECT_EQ(rose_.z0[0][s], 0.0f);
    EXPECT_NEAR(rose_.z0[1][s], 0.03f, 1e-6f);
  }
  EXPECT_EQ(TestCore().status, kStatusOk);
}

TEST_F(RoughnessRoseTest, SmallChangeGivesLengthWeightedGeometricMean) {
  map_.AddRoughnessLine(0.03f, 0.04f, CirclePoints(kSiteX, kSiteY, 1000.0, 720, true));
  Derive(12);
  const double decay = 10000.0;
  const double near = DecayPosition(1000.0, decay);
  const double expected =
      std::exp((near * std::log(0.03) + (decay - near) * std::log(0.04)) / decay);
  for (int s = 0; s < 12; ++s) {
    EXPECT_EQ(rose_.changes[s], 0);
    EXPECT_NEAR(rose_.z0[0][s], expected, 2e-6);
  }
}

TEST_F(RoughnessRoseTest, SubRaysPerSectorAreRoundedAndLimited) {
  // 36 sectors of 10°: an arc from bearing 0.8° back to -5° at 1 km, drawn
  // counter-clockwise (site on its left, 0.01; beyond it 1.0). Of m sub-rays at
  // bearings -5 + (j + 0.5)·10/m, those below 0.8° cross it, and the sector
  // roughness beyond is 0.01^(1 - f)·1^f with f the fraction crossed.
  map_.AddRoughnessLine(0.01f, 1.0f, ArcPoints(kSiteX, kSiteY, 1000.0, 0.8, -5.0, 60));
  struct Case {
    float element;
    double crossedFraction;
  };
  const Case cases[] = {
      {9.0f, 5.0 / 9.0}, {10.0f, 6.0 / 10.0}, {50.0f, 6.0 / 10.0},  // at most 360 div 36
      {0.0f, 1.0},       {-3.0f, 1.0},                              // at least 1
      {2.4f, 1.0 / 2.0}, {1.5f, 1.0 / 2.0},                         // rounded
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "RNUMSECT " << c.element);
    test::ResetRose(rose_);
    SetParameter(kRoseSubRays, c.element);
    Derive(36);
    ASSERT_EQ(rose_.changes[0], 1);
    EXPECT_NEAR(rose_.z0[0][0], 0.01f, 1e-7f);
    EXPECT_NEAR(rose_.z0[1][0], std::pow(0.01, 1.0 - c.crossedFraction), 2e-5);
  }
}

TEST_F(RoughnessRoseTest, ChangesAreLimitedByMaxrc) {
  // Fifteen rings evenly spread on the decay scale, alternately rough and
  // smooth: every ring is worth a change, more than the rose can hold.
  const double decay = 10000.0;
  for (int k = 1; k <= 15; ++k) {
    const double radius = -decay * std::log(1.0 - k / 16.0) - 0.1;
    const float inside = k % 2 ? 0.001f : 1.0f;
    const float outside = k % 2 ? 1.0f : 0.001f;
    map_.AddRoughnessLine(inside, outside, CirclePoints(kSiteX, kSiteY, radius, 720, true));
  }
  struct Case {
    float element;
    int changes;
  };
  const Case cases[] = {{15.0f, 10}, {10.0f, 10}, {7.0f, 7}, {1.4f, 1},
                        {1.0f, 1},   {0.0f, 0},   {-2.0f, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "MAXRC " << c.element);
    test::ResetRose(rose_);
    SetParameter(kMaxChangesPerSector, c.element);
    Derive(12);
    for (int s = 0; s < 12; ++s) {
      ASSERT_EQ(rose_.changes[s], c.changes);
      for (int r = 1; r < c.changes; ++r) EXPECT_GT(rose_.distance[r][s], rose_.distance[r - 1][s]);
    }
  }
  // Without a change the one roughness is the geometric mean over the rings:
  // half the decay scale 0.001, half 1.0.
  EXPECT_NEAR(rose_.z0[0][0], std::sqrt(0.001), 2e-4);
}

TEST_F(RoughnessRoseTest, LineThroughSiteIsCrossedAtTheSite) {
  // With D = 1 m a change at the site (0 m, plus 0.1 m) is worth keeping.
  SetParameter(kRoughnessDecayLength, 1.0f);
  map_.AddRoughnessLine(1.0f, 0.001f, {{kSiteX - 5000.0, kSiteY}, {kSiteX + 5000.0, kSiteY}});
  Derive(12);
  const RoughnessRose straight = rose_;
  int changed = 0;
  for (int s = 0; s < 12; ++s) {
    ASSERT_LE(rose_.changes[s], 1);
    if (rose_.changes[s] == 1) {
      ++changed;
      EXPECT_NEAR(rose_.distance[0][s], 0.1f, 1e-3f);
    }
  }
  EXPECT_GE(changed, 5);

  // The same line with a vertex on the site.
  test::ResetRose(rose_);
  map_ = RoughnessMapStorage();
  map_.AddRoughnessLine(1.0f, 0.001f,
                        {{kSiteX - 5000.0, kSiteY}, {kSiteX, kSiteY}, {kSiteX + 5000.0, kSiteY}});
  Derive(12);
  for (int s = 0; s < 12; ++s) {
    EXPECT_EQ(rose_.changes[s], straight.changes[s]);
    EXPECT_EQ(rose_.z0[0][s], straight.z0[0][s]);
    EXPECT_EQ(rose_.z0[1][s], straight.z0[1][s]);
    EXPECT_EQ(rose_.distance[0][s], straight.distance[0][s]);
  }
}

TEST_F(RoughnessRoseTest, CrossingsOfATinyMapAreKept) {
  // All lines within 0.4 m of the site: a crossing is never farther than the
  // farthest point, and one at 0.4 m counts (with D = 1 m a change at
  // 0.4 + 0.1 m).
  SetParameter(kRoughnessDecayLength, 1.0f);
  map_.AddRoughnessLine(0.1f, 0.5f, CirclePoints(kSiteX, kSiteY, 0.4, 72, true));
  Derive(12);
  for (int s = 0; s < 12; ++s) {
    ASSERT_EQ(rose_.changes[s], 1);
    // The sub-rays cross a few millimetres apart, which this short decay
    // length tells apart: the rings are nearly, not exactly, 0.1 and 0.5.
    EXPECT_NEAR(rose_.z0[0][s], 0.1f, 1e-3f);
    EXPECT_NEAR(rose_.z0[1][s], 0.5f, 1e-3f);
    EXPECT_NEAR(rose_.distance[0][s], 0.5f, 0.01f);
  }
}

TEST_F(RoughnessRoseTest, SectorsWithoutCrossingsTakeOppositeThenPreceding) {
  // Line A north of the site from bearing 20° to -20° (site on its left, 0.2):
  // it reaches sectors 12, 1 and 2. Line B east from 99° to 81° (site on its
  // left, 0.05) reaches sector 4 only (five of its nine sub-rays).
  map_.AddRoughnessLine(0.2f, 0.8f, ArcPoints(kSiteX, kSiteY, 1000.0, 20.0, -20.0, 80));
  map_.AddRoughnessLine(0.05f, 0.8f, ArcPoints(kSiteX, kSiteY, 2000.0, 99.0, 81.0, 40));
  Derive(12);
  ASSERT_EQ(TestCore().status, kStatusOk);
  // Sectors 2 and 12 see line A on one sub-ray of nine: too small a change
  // to keep, so ring 0 is the length-weighted mean. Sectors 6, 7, 8 and 10
  // take their opposite's site roughness; 3, 5, 9 and 11 then ring 0 of the
  // sector before them.
  const double decay = 10000.0;
  const double nearA = DecayPosition(1000.0, decay);
  const double beyondA = std::pow(0.2, 8.0 / 9.0) * std::pow(0.8, 1.0 / 9.0);
  const float edge = static_cast<float>(
      std::exp((nearA * std::log(0.2) + (decay - nearA) * std::log(beyondA)) / decay));
  const float expected[12] = {0.2f, edge, edge, 0.05f, 0.05f, 0.2f,
                              0.2f, 0.2f, 0.2f, 0.05f, 0.05f, edge};
  for (int s = 0; s < 12; ++s) EXPECT_NEAR(rose_.z0[0][s], expected[s], 2e-6f) << "sector " << s;
  for (const int s : {1, 2, 4, 5, 6, 7, 8, 9, 10, 11})
    EXPECT_EQ(rose_.changes[s], 0) << "sector " << s;
  ASSERT_EQ(rose_.changes[0], 1);
  EXPECT_NEAR(rose_.z0[1][0], 0.8f, 1e-6f);
  // Sector 4 (east) changes at 2 km to the mean over its sub-rays.
  ASSERT_EQ(rose_.changes[3], 1);
  EXPECT_NEAR(rose_.distance[0][3], 2000.1f, 0.05f);
  EXPECT_NEAR(rose_.z0[1][3], std::pow(0.05, 4.0 / 9.0) * std::pow(0.8, 5.0 / 9.0), 1e-5);
}

TEST_F(RoughnessRoseTest, WithoutAnyCrossingTheSiteSideOfTheFirstLineHolds) {
  // A short line between the sub-rays at bearings 0° and 3.33°, behind a
  // height contour that the rose ignores.
  map_.AddContour(100.0f, CirclePoints(kSiteX, kSiteY, 300.0, 36, true));
  map_.AddRoughnessLine(0.4f, 0.9f, ArcPoints(kSiteX, kSiteY, 1000.0, 3.0, 0.5, 5));
  map_.AddRoughnessLine(0.7f, 0.7f, ArcPoints(kSiteX, kSiteY, 1000.0, 3.1, 3.2, 1));
  Derive(12);
  for (int s = 0; s < 12; ++s) {
    EXPECT_EQ(rose_.changes[s], 0);
    EXPECT_EQ(rose_.z0[0][s], 0.4f);
  }
  // Drawn the other way the site is on its right.
  map_ = RoughnessMapStorage();
  map_.AddRoughnessLine(0.4f, 0.9f, ArcPoints(kSiteX, kSiteY, 1000.0, 0.5, 3.0, 5));
  Derive(12);
  for (int s = 0; s < 12; ++s) EXPECT_EQ(rose_.z0[0][s], 0.9f);
  EXPECT_EQ(TestCore().status, kStatusOk);
}

TEST_F(RoughnessRoseTest, MapWithoutRoughnessLinesLeavesRoseAsItWas) {
  map_.AddContour(50.0f, CirclePoints(kSiteX, kSiteY, 500.0, 36, true));
  map_.AddLine(0.1f, 0.5f, 0.0f, 1.0f, 1.0f, {{kSiteX + 10.0, kSiteY}});  // one point only
  rose_.changes[0] = 3;
  rose_.z0[0][1] = 0.7f;
  const RoughnessRose before = rose_;
  Derive(12);
  EXPECT_EQ(TestCore().status, kStatusOk);
  EXPECT_EQ(std::memcmp(&rose_, &before, sizeof rose_), 0);
}

}  // namespace
}  // namespace kavi::numerics
