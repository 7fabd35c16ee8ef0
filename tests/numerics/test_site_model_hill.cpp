// A physical check of the whole orographic chain (zooming grid, spectrum, site
// model) on an isolated, smooth, axisymmetric hill over flat land of uniform
// roughness: the wind speeds up over the top in every direction, less so with
// height, and slows down at the foot of the hill where the wind approaches it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "numerics/orographic_terms.h"
#include "numerics/site_model.h"
#include "numerics/support/site_model_setup.h"
#include "numerics/support/test_core.h"
#include "numerics/zooming_grid.h"

namespace kavi::numerics {
namespace {

constexpr int kMapCapacity = 500000;
constexpr double kPi = 3.14159265358979;

// Hill of height 100 m, half-width a = 400 m (50 m high at r = a), cosine
// squared in shape: h(r) = 100 cos^2(pi r / 4a) out to its foot at r = 2a.
constexpr double kHillHeight = 100.0;
constexpr double kHalfWidth = 400.0;
constexpr double kFootRadius = 2.0 * kHalfWidth;

double ContourRadius(double elevation) {
  return 4.0 * kHalfWidth / kPi * std::acos(std::sqrt(elevation / kHillHeight));
}

// Map storage laid out line after line: left and right roughness, elevation
// (the header's x), point count and kind 0 (the header's y), then the points.
class HillMap {
 public:
  HillMap() : x_(kMapCapacity), y_(kMapCapacity) {
    for (double elevation : {10.0, 20.0, 30.0, 40.0, 50.0, 60.0, 70.0, 80.0, 90.0, 95.0, 99.0}) {
      AddCircle(elevation, ContourRadius(elevation));
    }
    AddCircle(0.0, kFootRadius);
    AddCircle(0.0, 4000.0);  // the plain around the hill
  }
  const float* x() const { return x_.data(); }
  const float* y() const { return y_.data(); }
  int lines() const { return lines_; }

 private:
  void AddCircle(double elevation, double radius) {
    constexpr int kCorners = 360;
    x_[used_] = 0.03f;
    x_[used_ + 1] = 0.03f;
    x_[used_ + 2] = static_cast<float>(elevation);
    y_[used_] = static_cast<float>(kCorners + 1);
    y_[used_ + 1] = 0.0f;
    y_[used_ + 2] = 0.0f;
    for (int i = 0; i <= kCorners; ++i) {
      const double angle = 2.0 * kPi * (i % kCorners) / kCorners + 0.001;
      x_[used_ + 3 + i] = static_cast<float>(radius * std::cos(angle));
      y_[used_ + 3 + i] = static_cast<float>(radius * std::sin(angle));
    }
    used_ += 3 + kCorners + 1;
    ++lines_;
  }

  std::vector<float> x_;
  std::vector<float> y_;
  int used_ = 0;
  int lines_ = 0;
};

class HillTest : public ::testing::Test {
 protected:
  static constexpr int kSectors = 12;

  void SetUp() override {
    testing::UseSiteModelDefaults(kSectors);
    SetParameter(kRaySpacing, 5.0f);
    SetParameter(kMaxSearchRadius, 20000.0f);
    SetParameter(kGridSpread, 0.5f);
    testing::ClearGrid();
    testing::UniformRose(rose, 0.03f);
  }

  // Builds the grid and spectrum around (x, y) and returns slot 2 factors of
  // every sector at each height.
  void Calculate(float x, float y, const std::vector<float>& heights,
                 std::vector<std::vector<float>>& factors) {
    BuildZoomingGrid(TestCore(), {map.x(), map.y(), map.lines(), kMapCapacity}, {x, y});
    ASSERT_EQ(TestCore().status, kStatusOk);
    GridSpectrum(TestCore(), kSectors);
    ASSERT_GT(TestCore().grid.lengthScale, 0.0f);
    factors.clear();
    for (float z : heights) {
      SiteEffectTable table;
      SiteEffects(TestCore(), z, rose, table);
      std::vector<float> row;
      for (int j = 0; j < kSectors; ++j) {
        row.push_back(table.speedFactor[EffectIndex(2, j, kSectors)]);
        EXPECT_EQ(table.speedFactor[EffectIndex(4, j, kSectors)], 1.0f);  // uniform roughness
      }
      factors.push_back(row);
    }
  }

  static void Print(const char* where, const std::vector<float>& heights,
                    const std::vector<std::vector<float>>& factors) {
    for (size_t h = 0; h < heights.size(); ++h) {
      std::printf("%s, %5.0f m:", where, heights[h]);
      for (float f : factors[h]) std::printf(" %.4f", f);
      std::printf("\n");
    }
  }

  HillMap map;
  RoughnessRose rose;
};

TEST_F(HillTest, SpeedUpOnTopFallsWithHeight) {
  const std::vector<float> heights = {10.0f, 50.0f, 100.0f};
  std::vector<std::vector<float>> factors;
  Calculate(0.0f, 0.0f, heights, factors);
  Print("hill top", heights, factors);
  for (int j = 0; j < kSectors; ++j) {
    EXPECT_GT(factors[0][j], 1.0f) << j;
    EXPECT_GT(factors[0][j], factors[1][j]) << j;
    EXPECT_GT(factors[1][j], factors[2][j]) << j;
    EXPECT_GE(factors[2][j], 1.0f) << j;
    // The hill looks the same from every side.
    EXPECT_NEAR(factors[0][j], factors[0][0], 0.02f) << j;
  }
}

TEST_F(HillTest, SlowDownAtTheUpwindFoot) {
  // A site 50 m beyond the southern foot: wind from the south (sector 7) meets the hill
  // beyond the site.
  const std::vector<float> heights = {10.0f, 50.0f, 100.0f};
  std::vector<std::vector<float>> factors;
  Calculate(0.0f, static_cast<float>(-kFootRadius - 50.0), heights, factors);
  Print("south foot", heights, factors);
  for (size_t h = 0; h < heights.size(); ++h) EXPECT_LT(factors[h][6], 1.0f) << heights[h];
  EXPECT_LT(factors[0][6], factors[2][6]);  // strongest near the ground
}

}  // namespace
}  // namespace kavi::numerics
