// The profile function, the internal boundary layer height and the speed ratio
// across a roughness change, against values worked out by hand (in double
// precision from the formulas) at a few points.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numerics/site_model.h"
#include "numerics/support/site_model_setup.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

class BoundaryLayerTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::UseSiteModelDefaults(12); }
};

TEST_F(BoundaryLayerTest, ProfileShapeIsLogarithmAboveTwoAndCubicBelow) {
  EXPECT_NEAR(LogProfileShape(3.0f), 1.0986123f, 1e-6f);  // ln 3
  EXPECT_NEAR(LogProfileShape(100.0f), 4.6051702f, 1e-6f);
  // At r = 2 the cubic gives ln 2 (0.25 * 4 * (1.0794415 - 0.38629436)).
  EXPECT_NEAR(LogProfileShape(2.0f), 0.69314718f, 1e-6f);
  EXPECT_NEAR(LogProfileShape(2.0001f), 0.69314718f + 0.00005f, 1e-6f);
  EXPECT_NEAR(LogProfileShape(1.0f), 0.22157358f, 1e-7f);   // 0.25 * 0.88629432
  EXPECT_NEAR(LogProfileShape(0.5f), 0.061429244f, 1e-8f);  // 0.0625 * 0.98286791
  EXPECT_EQ(LogProfileShape(0.0f), 0.0f);
}

TEST_F(BoundaryLayerTest, HeightFollowsPowerLawUpToTwentyRoughnessLengths) {
  // x / zm = 10 / 0.5 = 20 exactly: 1.6462 * 0.5 * 20^0.6651.
  EXPECT_NEAR(BoundaryLayerHeight(TestCore(), 10.0f, 0.5f, 0.03f), 6.0362560f, 2e-5f);
  // Roughness order does not matter: zm is the larger.
  EXPECT_NEAR(BoundaryLayerHeight(TestCore(), 10.0f, 0.03f, 0.5f), 6.0362560f, 2e-5f);
  // x / zm = 1: 1.6462 * zm.
  EXPECT_NEAR(BoundaryLayerHeight(TestCore(), 0.1f, 0.1f, 0.01f), 0.16462f, 1e-6f);
  EXPECT_EQ(BoundaryLayerHeight(TestCore(), 0.0f, 0.1f, 0.01f), 0.0f);
}

TEST_F(BoundaryLayerTest, HeightIteratesJustAboveTwenty) {
  // x / zm = 21: eta starts at 0.4 * 21^0.9 and oscillates towards the
  // solution of eta = 0.9 * 21 / (ln eta - 1); the eleventh value is within 3 %
  // of the tenth: eta = 12.537547. The power law would give 6.2353474.
  EXPECT_NEAR(BoundaryLayerHeight(TestCore(), 10.5f, 0.5f, 0.03f), 0.5f * 12.537547f, 5e-4f);
  // x / zm = 33333.3: 4023.2862, then 4109.6711 within 3 %.
  EXPECT_NEAR(BoundaryLayerHeight(TestCore(), 1000.0f, 0.03f, 0.01f), 0.03f * 4109.6711f, 0.02f);
}

TEST_F(BoundaryLayerTest, HeightIterationEndsForAnyCoefficient) {
  // Element 39 far outside its role: the passes stop instead of running on or
  // taking the logarithm of a negative eta.
  for (float c : {0.01f, 0.1f, 0.3f, 5.0f, 100.0f, -1.0f}) {
    SetParameter(kBoundaryLayerConstant, c);
    const float h = BoundaryLayerHeight(TestCore(), 10.5f, 0.5f, 0.03f);
    EXPECT_TRUE(std::isfinite(h)) << c;
    EXPECT_GT(h, 0.0f) << c;
  }
}

TEST_F(BoundaryLayerTest, SpeedRatioInEachOfItsThreeZones) {
  const float zd = 0.03f, zu = 0.3f, h = 100.0f;
  // At or above 0.3 h the upstream profile is undisturbed.
  EXPECT_EQ(RoughnessChangeRatio(TestCore(), 30.5f, zd, zu, h), 1.0f);
  EXPECT_NEAR(RoughnessChangeRatio(TestCore(), 30.0f, zd, zu, h), 1.0f,
              1e-6f);  // 0.3f * 100 rounds up
  EXPECT_EQ(RoughnessChangeRatio(TestCore(), 50.0f, zd, zu, h), 1.0f);
  // Below 0.09 h: ln(h/zu) ln(z/zd) / (ln(z/zu) ln(h/zd)).
  EXPECT_NEAR(RoughnessChangeRatio(TestCore(), 5.0f, zd, zu, h), 1.3022541f, 2e-6f);
  // Between: blended in ln z between the ratio at 9 m and 1 at 30 m.
  EXPECT_NEAR(RoughnessChangeRatio(TestCore(), 20.0f, zd, zu, h), 1.0676790f, 2e-6f);
  // Near the surface the cubic branch of F takes over for z / zd <= 2.
  EXPECT_NEAR(RoughnessChangeRatio(TestCore(), 0.04f, zd, zu, h), 55.861386f, 2e-3f);
}

TEST_F(BoundaryLayerTest, SpeedRatioAtGroundIsItsLimit) {
  // z -> 0: (zu / zd)^2 ln(h / zu) / ln(h / zd).
  EXPECT_NEAR(RoughnessChangeRatio(TestCore(), 0.0f, 0.03f, 0.3f, 100.0f), 71.614124f, 2e-3f);
  // Equal roughness on both sides: no change in speed at any height.
  for (float z : {0.0f, 0.001f, 0.1f, 5.0f, 20.0f}) {
    EXPECT_NEAR(RoughnessChangeRatio(TestCore(), z, 0.1f, 0.1f, 100.0f), 1.0f, 1e-6f) << z;
  }
}

TEST_F(BoundaryLayerTest, SpeedRatioStaysFiniteForBadArguments) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float values[] = {0.0f, -1.0f, nan, 1e-30f, 1e30f, 0.03f, 1.0f, 100.0f};
  for (float z : values) {
    for (float zd : values) {
      for (float zu : values) {
        const float h = BoundaryLayerHeight(TestCore(), z * 10.0f, zu, zd);
        EXPECT_TRUE(std::isfinite(h)) << z << " " << zd << " " << zu;
        const float r = RoughnessChangeRatio(TestCore(), z, zd, zu, h);
        EXPECT_TRUE(std::isfinite(r)) << z << " " << zd << " " << zu;
        EXPECT_GT(r, 0.0f);
      }
    }
  }
  EXPECT_TRUE(std::isfinite(BoundaryLayerHeight(TestCore(), inf, 0.03f, 0.1f)));
  EXPECT_TRUE(std::isfinite(BoundaryLayerHeight(TestCore(), nan, 0.03f, 0.1f)));
}

}  // namespace
}  // namespace kavi::numerics
