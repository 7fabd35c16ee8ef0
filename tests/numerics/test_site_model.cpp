// The site model routine without orography: slot 4 from the roughness changes
// of the rose, the extra ring of effective upstream roughness, the reset of
// slots 2 and 3, and finite output whatever the rose holds. Expected values
// were worked out by hand (in double precision from the formulas).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "numerics/site_model.h"
#include "numerics/support/site_model_setup.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class SiteModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::UseSiteModelDefaults(4);
    testing::ClearGrid();
    testing::UniformRose(rose, 0.03f);
    testing::MarkTable(table);
  }
  float Factor(int slot, int sector) const {
    return table.speedFactor[EffectIndex(slot, sector, TestCore().sectorCount)];
  }
  float Turning(int slot, int sector) const {
    return table.turning[EffectIndex(slot, sector, TestCore().sectorCount)];
  }
  void ExpectAllFinite() const {
    const int nsec = TestCore().sectorCount;
    for (int i = 0; i < kEffectSlots * nsec; ++i) {
      EXPECT_TRUE(std::isfinite(table.speedFactor[i])) << i;
      EXPECT_TRUE(std::isfinite(table.turning[i])) << i;
    }
    for (int j = 0; j < nsec; ++j) {
      const int ring = std::clamp(rose.changes[j], 0, kMaxRoughnessChanges) + 1;
      EXPECT_GE(rose.z0[ring][j], 0.0002f) << j;
      EXPECT_LE(rose.z0[ring][j], 100.0f) << j;
    }
  }

  RoughnessRose rose;
  SiteEffectTable table;
};

TEST_F(SiteModelTest, WithoutGridOrographyIsNeutralAndOnlySlotsTwoToFourAreWritten) {
  testing::UseSiteModelDefaults(12);
  testing::MarkTable(table);
  // Coefficients without a length scale mean nothing and must be ignored.
  TestCore().grid.coefficients[0][0][0] = 5.0f;
  TestCore().grid.coefficients[3][1][2] = -5.0f;
  SiteEffects(TestCore(), 10.0f, rose, table);
  for (int j = 0; j < 12; ++j) {
    EXPECT_EQ(Factor(1, j), 7.0f);  // slot 1 keeps what it had
    EXPECT_EQ(Turning(1, j), 7.0f);
    for (int slot = 2; slot <= 4; ++slot) {
      EXPECT_EQ(Factor(slot, j), 1.0f) << slot << " " << j;
      EXPECT_EQ(Turning(slot, j), 0.0f) << slot << " " << j;
    }
  }
  // Beyond the 4 x 12 entries nothing is touched.
  EXPECT_EQ(table.speedFactor[48], 7.0f);
  EXPECT_EQ(TestCore().status, kStatusOk);
}

TEST_F(SiteModelTest, SectorWithoutChangesHasFactorOneAndItsSiteRoughnessAsExtraRing) {
  rose.z0[0][1] = 0.4f;
  rose.z0[0][2] = 0.0f;  // water counts as 0.0002
  rose.z0[1][3] = 9.0f;  // stale value beyond the last ring
  SiteEffects(TestCore(), 10.0f, rose, table);
  for (int j = 0; j < 4; ++j) EXPECT_EQ(Factor(4, j), 1.0f) << j;
  EXPECT_EQ(rose.z0[1][0], 0.03f);
  EXPECT_EQ(rose.z0[1][1], 0.4f);
  EXPECT_EQ(rose.z0[1][2], 0.0002f);
  EXPECT_EQ(rose.z0[1][3], 0.03f);
}

TEST_F(SiteModelTest, RoughnessChangesGiveTheProductOfTheirSpeedRatios) {
  // Sector 2: 0.03 at the site, 0.3 beyond 500 m. Effective upstream roughness
  // exp(ln 0.3 + (ln 0.03 - ln 0.3)(1 - e^-0.05)) = 0.26813325; boundary layer
  // 92.564011 m; at 10 m the ratio is 1.1620556.
  rose.changes[1] = 1;
  rose.z0[1][1] = 0.3f;
  rose.distance[0][1] = 500.0f;
  // Sector 3: the same, then water beyond 2000 m: effective roughness
  // 0.00067295665, second layer 299.89889 m, ratio 0.69803428.
  rose.changes[2] = 2;
  rose.z0[1][2] = 0.3f;
  rose.z0[2][2] = 0.0f;
  rose.distance[0][2] = 500.0f;
  rose.distance[1][2] = 2000.0f;
  SiteEffects(TestCore(), 10.0f, rose, table);
  EXPECT_EQ(Factor(4, 0), 1.0f);
  EXPECT_NEAR(Factor(4, 1), 1.1620556f, 2e-5f);
  EXPECT_EQ(Turning(4, 1), 0.0f);
  EXPECT_NEAR(rose.z0[2][1], 0.26813325f, 1e-6f);
  EXPECT_NEAR(Factor(4, 2), 0.81115464f, 2e-5f);
  EXPECT_NEAR(rose.z0[3][2], 0.00067295665f, 1e-8f);
  EXPECT_EQ(Factor(4, 3), 1.0f);

  // At 100 m the height is above 0.3 of both layers (27.8 m and 90.0 m).
  SiteEffects(TestCore(), 100.0f, rose, table);
  EXPECT_EQ(Factor(4, 1), 1.0f);
  EXPECT_EQ(Factor(4, 2), 1.0f);

  // At the ground the ratio takes its limit (zu / zd)^2 F(h/zu) / F(h/zd).
  SiteEffects(TestCore(), 0.0f, rose, table);
  EXPECT_NEAR(Factor(4, 1), 58.106566f, 2e-3f);
  // A height that is not a number counts as the ground.
  SiteEffects(TestCore(), kNaN, rose, table);
  EXPECT_NEAR(Factor(4, 1), 58.106566f, 2e-3f);
}

TEST_F(SiteModelTest, EqualRoughnessOrZeroDistanceChangesNothing) {
  // Equal neighbouring roughness: no change of speed, effective roughness 0.1.
  rose.changes[0] = 2;
  rose.z0[0][0] = rose.z0[1][0] = rose.z0[2][0] = 0.1f;
  rose.distance[0][0] = 300.0f;
  rose.distance[1][0] = 3000.0f;
  // A change at distance 0: its layer has no height and the whole upstream
  // roughness is effective at once.
  rose.changes[1] = 1;
  rose.z0[1][1] = 0.3f;
  rose.distance[0][1] = 0.0f;
  for (float z : {0.0f, 2.0f, 10.0f}) {
    SiteEffects(TestCore(), z, rose, table);
    EXPECT_NEAR(Factor(4, 0), 1.0f, 1e-5f) << z;
    EXPECT_NEAR(rose.z0[3][0], 0.1f, 1e-7f);
    EXPECT_EQ(Factor(4, 1), 1.0f) << z;
    EXPECT_NEAR(rose.z0[2][1], 0.3f, 1e-7f);
  }
}

TEST_F(SiteModelTest, OutOfRangeChangeCountsStayInsideTheRose) {
  rose.changes[0] = 11;  // more than the rose holds: the first 10 are used
  for (int r = 0; r < kRoughnessRings; ++r) rose.z0[r][0] = (r % 2) ? 0.5f : 0.01f;
  for (int r = 0; r < kDistanceRings; ++r) rose.distance[r][0] = 100.0f * (r + 1);
  rose.changes[1] = -3;  // counts as no change
  SiteEffects(TestCore(), 10.0f, rose, table);
  ExpectAllFinite();
  EXPECT_GT(rose.z0[11][0], 0.01f);
  EXPECT_LT(rose.z0[11][0], 0.5f);
  EXPECT_EQ(Factor(4, 1), 1.0f);
  EXPECT_EQ(rose.z0[1][1], 0.03f);
}

TEST_F(SiteModelTest, SectorCountOutsideTheTableLeavesEverythingAlone) {
  for (int nsec : {0, -1, 37}) {
    TestCore().sectorCount = nsec;
    SiteEffects(TestCore(), 10.0f, rose, table);
    for (int i = 0; i < kEffectSlots * kMaxSectors; ++i) ASSERT_EQ(table.speedFactor[i], 7.0f);
  }
}

TEST_F(SiteModelTest, AnyRoseGivesFiniteEntries) {
  const float special[] = {0.0f, -0.0f, -1.0f, kNaN, kInf, -kInf, 1e-38f, 1e38f, 0.0002f, 100.0f};
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> pick(0, std::size(special) - 1);
  std::uniform_real_distribution<float> roughness(-4.0f, 2.0f);  // log10
  std::uniform_real_distribution<float> distance(-1.0f, 7.0f);   // log10
  std::uniform_int_distribution<int> changes(-2, 12);
  const float heights[] = {0.0f, 1e-6f, 0.05f, 1.0f, 10.0f, 200.0f, -5.0f, kNaN, kInf};
  TestCore().sectorCount = 36;
  for (int round = 0; round < 200; ++round) {
    for (int j = 0; j < kMaxSectors; ++j) {
      rose.changes[j] = changes(random);
      for (int r = 0; r < kRoughnessRings; ++r) {
        rose.z0[r][j] =
            (round % 3 == 0) ? special[pick(random)] : std::pow(10.0f, roughness(random));
      }
      for (int r = 0; r < kDistanceRings; ++r) {
        rose.distance[r][j] =
            (round % 3 == 1) ? special[pick(random)] : std::pow(10.0f, distance(random));
      }
    }
    SiteEffects(TestCore(), heights[round % std::size(heights)], rose, table);
    ExpectAllFinite();
    if (HasFailure()) return;
  }
}

TEST_F(SiteModelTest, ExtremeAlternatingRoseStaysFinite) {
  // Roughness alternating between the extremes, near and far changes in turn
  // (and so not increasing outward), the longest decay length, at the ground:
  // the ratios of the ten changes must not multiply beyond single precision.
  SetParameter(kRoughnessDecayLength, 1e6f);
  for (int j = 0; j < 4; ++j) {
    rose.changes[j] = 10;
    for (int r = 0; r < kRoughnessRings; ++r) rose.z0[r][j] = ((r + j) % 2) ? 1e30f : 0.0f;
    for (int r = 0; r < kDistanceRings; ++r) rose.distance[r][j] = (r % 2) ? 1e-6f : 1e5f;
  }
  for (float z : {0.0f, 1e-5f, 0.01f, 1.0f}) {
    SiteEffects(TestCore(), z, rose, table);
    ExpectAllFinite();
  }
}

}  // namespace
}  // namespace kavi::numerics
