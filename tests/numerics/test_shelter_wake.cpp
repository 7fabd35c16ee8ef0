#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "numerics/shelter_group.h"
#include "numerics/support/test_core.h"
#include "numerics/wake_deficit.h"
#include "support/shelter_test_support.h"

namespace kavi::numerics {
namespace {

// Behind a solid 2-D fence h = 10 m over z0 = 0.05 m: Lambda = ln(h / z0) =
// 5.298317, exponent 1 / (2 + 1 / Lambda) = 0.456884, K = 0.32 / Lambda =
// 0.060397. At x behind the fence X = x + z0 and xi = X / h; the point height is
// z + 3 z0; eta = (Z / h) (1 / (K xi))^0.456884; R = 9.75 eta exp(-0.67 eta^1.5) / xi.
TEST(WakeDeficit, SolidFenceAgainstHandCalculation) {
  struct Case {
    float x, z, expected;
  };
  const Case cases[] = {
      // 5 heights: xi = 5.005; at z = h eta = 1.753298, at z = h/2 eta = 0.889604.
      {50, 10, 0.720990f},
      {50, 5, 0.987754f},
      // 10 heights: xi = 10.005; eta = 1.277671 and 0.648276. The wake height
      // G = 3 z0 + 0.3 z0 ((X - 5h) / z0)^0.8 = 3.9208 m lies below both points.
      {100, 10, 0.473125f},
      {100, 5, 0.445316f},
      // 20 heights: xi = 20.005; at z = h eta = 0.930964. At z = h/2 the point
      // (5.15 m) is below G = 9.2262 m: eta = 0.846232 taken at G, then scaled by
      // ln(5.15 / z0) / ln(G / z0) = 4.634729 / 5.217681.
      {200, 10, 0.248558f},
      {200, 5, 0.217461f},
      // Low and close behind (0.2 X + z + 3 z0 < h): taken at 2.5 h behind and
      // at half the height, xi = 2.5, eta = 1.221605.
      {20, 2, 1.928055f},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(WakeDeficit(c.x, 10.0f, c.z, 0.05f), c.expected, 2e-4f * c.expected)
        << "x " << c.x << " z " << c.z;
  }
}

TEST(WakeDeficit, FiniteAtTheExtremes) {
  // At the obstacle itself, very far, very high, for very low and almost buried
  // obstacles.
  for (float x : {0.0f, 1e-3f, 1.0f, 1e4f, 2e8f}) {
    for (float z : {0.0f, 1.0f, 1e3f, 1e30f, INFINITY}) {
      for (float h : {2e-4f * 1.0001f, 0.01f, 10.0f, 1e6f}) {
        const float R = WakeDeficit(x, h, z, 0.0002f);
        EXPECT_TRUE(std::isfinite(R) && R >= 0.0f) << x << " " << z << " " << h << " " << R;
      }
    }
  }
}

class ShelterGroupTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::UseShelterDefaults(); }
  void Add(float x, float f, float h, float p) {
    group_->members[group_->size++] = {x, f, h, p, 0.0f, 0.0f};
  }
  std::unique_ptr<ShelterGroup> group_ = std::make_unique<ShelterGroup>();
};

TEST_F(ShelterGroupTest, SingleObstacle) {
  // Lz = ln((z + 3 z0) / z0) = ln(203) = 5.313206; V = ln(h / z0) / Lz =
  // 0.997198; reduction R V = 0.720990 * 0.997198, times 1 - p.
  Add(50, 50, 10, 0.25f);
  EXPECT_NEAR(GroupReduction(TestCore(), *group_, 10, 0.05f), 0.718970f * 0.75f, 2e-4f);
  // Porosity 1: nothing.
  group_->members[0].openness = 1;
  EXPECT_EQ(GroupReduction(TestCore(), *group_, 10, 0.05f), 0.0f);
  // The deficit of one record is at most 0.8.
  group_->members[0].openness = 0;
  group_->members[0].nearDistance = group_->members[0].farDistance = 20;
  EXPECT_NEAR(GroupReduction(TestCore(), *group_, 2, 0.05f), 0.8f, 1e-6f);
  // An obstacle no taller than the roughness does nothing.
  group_->members[0].height = 0.05f;
  EXPECT_EQ(GroupReduction(TestCore(), *group_, 2, 0.05f), 0.0f);
}

TEST_F(ShelterGroupTest, TallerObstacleBehindALowFence) {
  // Fence (x 20, h 10, solid, no depth), then a building at 100 … 110 m, 15 m
  // high, porosity 0.2. Exposure of the building: Q = 10/0.5 + 15/0.2 = 95, gap
  // 80 < Q; the fence is lower and (15 - 10)/0.2 = 25 > its depth 0, so
  // X = 10 (0 + 0.5 * 10 / 0.2) = 250; Z = 80/95; E = Z + (1 - Z)(1 - 0.4 * 250/225)
  // = 0.929825. Building: R = 0.745591, V = 1.073511, reduction
  // R V E * 0.8 = 0.595385. The fence's V shrinks by (1 - 0.595385) to 0.403481;
  // R = 0.704321, reduction 0.284181. Total 0.879565.
  Add(20, 20, 10, 0);
  Add(100, 110, 15, 0.2f);
  EXPECT_NEAR(GroupReduction(TestCore(), *group_, 10, 0.05f), 0.879565f, 3e-4f);
  EXPECT_NEAR(group_->members[1].exposure, 0.929825f, 1e-5f);
}

TEST_F(ShelterGroupTest, LowerObstacleBehindATallFence) {
  // Fence x 20 … 30, h 15, porosity 0.3; then 8 m at 40 m. Q = 15/0.5 + 8/0.2 = 70;
  // E = (40 - (30 + 7/0.5)) / 70 * 0.7 + 0.3 = 0.26. Total 0.686508.
  Add(20, 30, 15, 0.3f);
  Add(40, 40, 8, 0);
  EXPECT_NEAR(GroupReduction(TestCore(), *group_, 10, 0.05f), 0.686508f, 3e-4f);
  EXPECT_NEAR(group_->members[1].exposure, 0.26f, 1e-5f);
}

TEST_F(ShelterGroupTest, ExposureNeverBelowZero) {
  // A taller obstacle standing within the depth of a lower one: the wake
  // formula would give E = -0.337 and the pair a total of -0.303, a speed-up;
  // it is fully sheltered instead (E = 0) and adds nothing.
  Add(5, 50, 10, 0);
  const float alone = GroupReduction(TestCore(), *group_, 10, 0.05f);
  EXPECT_NEAR(alone, 0.053741f, 2e-5f);
  Add(20, 20, 12, 0);
  const float both = GroupReduction(TestCore(), *group_, 10, 0.05f);
  EXPECT_EQ(group_->members[1].exposure, 0.0f);
  EXPECT_EQ(both, alone);
  EXPECT_GE(both, 0.0f);
}

}  // namespace
}  // namespace kavi::numerics
