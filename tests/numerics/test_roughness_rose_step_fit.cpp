// The step fit that reduces a sector's roughness profile, and the reduction
// itself, on profiles small enough to work out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "numerics/numerical_state.h"
#include "numerics/sector_changes.h"
#include "numerics/step_profile_fit.h"
#include "numerics/support/roughness_map_storage.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

StepProfile Fit(std::vector<float> xi, std::vector<float> v, int maxChanges, float threshold) {
  return FitStepProfile(xi.data(), v.data(), static_cast<int>(xi.size()), maxChanges, threshold);
}

TEST(StepProfileFit, GreedyStepsTakeTheLargestGainFirst) {
  // Values 0, 1, 3 on unit intervals. One step: after knot 2 removes
  // 0.5 + 9 - 16/3 = 4.17 of squared deviation, after knot 1 only 2.67.
  StepProfile p = Fit({1, 2, 3}, {0, 1, 3}, 1, 0.01f);
  ASSERT_EQ(p.changes, 1);
  EXPECT_EQ(p.position[0], 2.0f);
  EXPECT_FLOAT_EQ(p.value[0], 0.5f);
  EXPECT_FLOAT_EQ(p.value[1], 3.0f);
  // A second step splits the first piece; positions come out in order.
  p = Fit({1, 2, 3}, {0, 1, 3}, 2, 0.01f);
  ASSERT_EQ(p.changes, 2);
  EXPECT_EQ(p.position[0], 1.0f);
  EXPECT_EQ(p.position[1], 2.0f);
  EXPECT_FLOAT_EQ(p.value[0], 0.0f);
  EXPECT_FLOAT_EQ(p.value[1], 1.0f);
  EXPECT_FLOAT_EQ(p.value[2], 3.0f);
}

TEST(StepProfileFit, KeepsTheCountAfterWhichTheSpreadStoppedFalling) {
  // With threshold 0 the steps go on as long as a piece can be split; after
  // the first the fit is exact and no later step lowers the spread.
  const StepProfile p = Fit({1, 2, 3, 4, 5}, {0, 0, 0, 2, 2}, 5, 0.0f);
  ASSERT_EQ(p.changes, 1);
  EXPECT_EQ(p.position[0], 3.0f);
  EXPECT_EQ(p.value[0], 0.0f);
  EXPECT_EQ(p.value[1], 2.0f);
}

TEST(StepProfileFit, KnotsSinglePrecisionCannotSeparateAreMerged) {
  // 1000.1 is within what single precision resolves at 1000 against a
  // length of 2000: that knot goes, and its value with it.
  std::vector<float> xi = {1000.0f, 1000.1f, 2000.0f};
  std::vector<float> v = {0.0f, 5.0f, 2.0f};
  const StepProfile p = FitStepProfile(xi.data(), v.data(), 3, 10, 0.3f);
  ASSERT_EQ(p.changes, 1);
  EXPECT_EQ(p.position[0], 1000.0f);
  EXPECT_EQ(p.value[0], 0.0f);
  EXPECT_EQ(p.value[1], 2.0f);
  EXPECT_EQ(xi[1], 2000.0f);  // compacted in place
}

TEST(StepProfileFit, ChangesAreLimitedAndEmptyProfilesAreHarmless) {
  std::vector<float> xi, v;
  for (int i = 1; i <= 30; ++i) {
    xi.push_back(static_cast<float>(i));
    v.push_back(i % 2 ? 0.0f : 4.0f);
  }
  StepProfile p = Fit(xi, v, 25, 0.3f);
  EXPECT_EQ(p.changes, kMaxRoughnessChanges);
  p = Fit(xi, v, -1, 0.3f);
  EXPECT_EQ(p.changes, 0);
  EXPECT_FLOAT_EQ(p.value[0], 2.0f);

  p = FitStepProfile(nullptr, nullptr, 0, 10, 0.3f);
  EXPECT_EQ(p.changes, 0);
  EXPECT_EQ(p.value[0], 0.0f);
  p = Fit({0, 0}, {1, 2}, 10, 0.3f);
  EXPECT_EQ(p.changes, 0);
  EXPECT_EQ(p.value[0], 0.0f);
}

class SectorChangesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::SetRoseDefaults();
    test::ResetRose(rose_);
  }
  RoughnessRose rose_;
  std::unique_ptr<SectorProfile> profile_ = std::make_unique<SectorProfile>();
};

TEST_F(SectorChangesTest, WaterRingsAreZeroAndFarChangesVanish) {
  profile_->count = 1;
  profile_->distance[0] = 500.0f;
  profile_->roughness[0] = 0.0001f;
  profile_->finalRoughness = 0.03f;
  ReduceSectorChanges(TestCore(), 0, *profile_, rose_);
  ASSERT_EQ(rose_.changes[0], 1);
  EXPECT_EQ(rose_.z0[0][0], 0.0f);
  EXPECT_NEAR(rose_.z0[1][0], 0.03f, 1e-6f);

  // Beyond ten decay lengths a change is no longer told from the far end.
  profile_->count = 1;
  profile_->distance[0] = 1.0e6f;
  profile_->roughness[0] = 0.1f;
  profile_->finalRoughness = 1.0f;
  ReduceSectorChanges(TestCore(), 1, *profile_, rose_);
  EXPECT_EQ(rose_.changes[1], 0);
  EXPECT_NEAR(rose_.z0[0][1], 0.1f, 1e-6f);
}

}  // namespace
}  // namespace kavi::numerics
