#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "numerics/grid_state.h"
#include "numerics/numerical_state.h"
#include "numerics/orographic_terms.h"
#include "numerics/radial_weight_table.h"
#include "numerics/support/test_core.h"
#include "numerics/zooming_nodes.h"

namespace kavi::test {
namespace {

using numerics::GridSpectrum;
using numerics::kGridNodes;
using numerics::kGridTermCount;
using numerics::kSpectrumWeights;

class GridSpectrumTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestCore().LoadGridConstants();
    a_ = TestCore().gridInnerRadius;
    q_ = TestCore().gridStretch;
    nodes_ = numerics::ComputeZoomingNodes(TestCore());
  }

  // Fills a grid of N rays whose value depends on the ray's angle ψ = 2πk/N
  // and the node.
  void FillGrid(int rays, const std::function<float(double psi, int node)>& value) {
    TestCore().grid.lengthScale = 3000.0f;
    TestCore().grid.rayCount = rays;
    for (int k = 0; k < rays; ++k) {
      const double psi = 2.0 * std::numbers::pi * k / rays;
      for (int j = 0; j < kGridNodes; ++j) TestCore().grid.values[k][j] = value(psi, j);
    }
  }

  // Slope at node 1 of a profile that is 0 at the site and v at every node:
  // the stretched difference rule gives v (1 + 1.5 (q - 1)) / ((1 + q) a).
  double FirstNodeSlope(double v) const { return v * (1.0 + 1.5 * (q_ - 1.0)) / ((1.0 + q_) * a_); }

  // Σ_i T[k][i] · profile(i): the transform of a profile derived by hand.
  static double Transform(int k, const std::function<double(int node)>& profile) {
    double sum = 0.0;
    for (int i = 0; i < kGridNodes; ++i) sum += kSpectrumWeights[k][i] * profile(i);
    return sum;
  }

  // What single-precision moments may leave of a profile that should vanish:
  // a relative rounding of 1e-5 of the terrain scale v, divided by the radius
  // and weighted like the profile.
  double RoundingBound(int k, double v) const {
    double bound = 0.0;
    for (int i = 0; i < kGridNodes; ++i) {
      bound += std::abs(kSpectrumWeights[k][i]) * 1e-5 * v / nodes_.radius[i];
    }
    return bound;
  }

  double a_ = 0.0;
  double q_ = 0.0;
  numerics::ZoomingNodes nodes_{};
};

TEST_F(GridSpectrumTest, FlatOrMissingGridGivesZeroCoefficients) {
  FillGrid(72, [](double, int) { return 0.0f; });
  GridSpectrum(TestCore(), 12);
  for (int s = 0; s < 12; ++s) {
    for (const auto& term : TestCore().grid.coefficients[s]) {
      for (float a : term) ASSERT_EQ(a, 0.0f);
    }
  }
  // Terrain in the rows, but length scale 0 says there is no grid.
  FillGrid(72, [](double psi, int) { return static_cast<float>(40.0 * std::cos(2.0 * psi)); });
  TestCore().grid.lengthScale = 0.0f;
  GridSpectrum(TestCore(), 36);
  for (int s = 0; s < 36; ++s) {
    for (const auto& term : TestCore().grid.coefficients[s]) {
      for (float a : term) ASSERT_EQ(a, 0.0f);
    }
  }
}

TEST_F(GridSpectrumTest, SymmetricTerrainHasNoShearAndOppositeContrast) {
  // A level plateau 30 m above the site: A = C = 30, B = 0; only node 1 sees
  // a slope, so a0 = T[k][1] · slope, a1 = 0, a2 = -a0.
  FillGrid(72, [](double, int) { return 30.0f; });
  GridSpectrum(TestCore(), 12);
  for (int k = 0; k < kGridTermCount; ++k) {
    const double a0 = kSpectrumWeights[k][0] * FirstNodeSlope(30.0);
    const double tolerance = RoundingBound(k, 30.0) + 1e-5 * std::abs(a0);
    const float* c = TestCore().grid.coefficients[11][k];
    EXPECT_NEAR(c[0], a0, tolerance) << "term " << k + 1;
    EXPECT_NEAR(c[1], 0.0, tolerance) << "term " << k + 1;
    EXPECT_NEAR(c[2], -a0, tolerance) << "term " << k + 1;
  }

  // Any profile that is the same on every ray.
  FillGrid(36, [&](double, int j) {
    return static_cast<float>(200.0 * std::sin(9.0 * nodes_.radius[j]));
  });
  GridSpectrum(TestCore(), 1);
  for (int k = 0; k < kGridTermCount; ++k) {
    const float* c = TestCore().grid.coefficients[0][k];
    const double tolerance = RoundingBound(k, 200.0) + 1e-4 * std::abs(c[0]);
    EXPECT_NEAR(c[1], 0.0, tolerance) << "term " << k + 1;
    EXPECT_NEAR(c[2], -c[0], tolerance) << "term " << k + 1;
  }
}

TEST_F(GridSpectrumTest, TwofoldTerrainGivesContrastOrShear) {
  // g = v cos 2ψ: A = v/2, C = -v/2, B = 0, so P = R = A' + v/r and Q = 0.
  const double v = 40.0;
  FillGrid(72, [&](double psi, int) { return static_cast<float>(v * std::cos(2.0 * psi)); });
  GridSpectrum(TestCore(), 8);
  for (int k = 0; k < kGridTermCount; ++k) {
    const double a0 = Transform(
        k, [&](int i) { return v / nodes_.radius[i] + (i == 0 ? FirstNodeSlope(v / 2.0) : 0.0); });
    const double tolerance = RoundingBound(k, v) + 1e-5 * std::abs(a0);
    for (int s = 0; s < 8; ++s) {
      const float* c = TestCore().grid.coefficients[s][k];
      ASSERT_NEAR(c[0], a0, tolerance) << "term " << k + 1 << " sector " << s + 1;
      ASSERT_NEAR(c[1], 0.0, tolerance) << "term " << k + 1 << " sector " << s + 1;
      ASSERT_NEAR(c[2], a0, tolerance) << "term " << k + 1 << " sector " << s + 1;
    }
  }

  // g = v sin 2ψ: B = v/2, A = C = 0, so Q = -B' - v/r and P = R = 0.
  FillGrid(72, [&](double psi, int) { return static_cast<float>(v * std::sin(2.0 * psi)); });
  GridSpectrum(TestCore(), 8);
  for (int k = 0; k < kGridTermCount; ++k) {
    const double a1 = -Transform(
        k, [&](int i) { return v / nodes_.radius[i] + (i == 0 ? FirstNodeSlope(v / 2.0) : 0.0); });
    const double tolerance = RoundingBound(k, v) + 1e-5 * std::abs(a1);
    const float* c = TestCore().grid.coefficients[7][k];
    EXPECT_NEAR(c[0], 0.0, tolerance) << "term " << k + 1;
    EXPECT_NEAR(c[1], a1, tolerance) << "term " << k + 1;
    EXPECT_NEAR(c[2], 0.0, tolerance) << "term " << k + 1;
  }
}

TEST_F(GridSpectrumTest, MomentsUseEvenlySpreadAnglesAndHalfTheRayCount) {
  // 51 rays (7° spacing): the moments take ψ = 2πk/51 and divide by 51 div 2
  // = 25, so a level plateau gives A = C = 30 · 25.5 / 25.
  FillGrid(51, [](double, int) { return 30.0f; });
  GridSpectrum(TestCore(), 36);
  for (int k = 0; k < kGridTermCount; ++k) {
    const double a0 = kSpectrumWeights[k][0] * FirstNodeSlope(30.0 * 25.5 / 25.0);
    const double tolerance = RoundingBound(k, 30.0) + 1e-5 * std::abs(a0);
    EXPECT_NEAR(TestCore().grid.coefficients[35][k][0], a0, tolerance) << "term " << k + 1;
    EXPECT_NEAR(TestCore().grid.coefficients[35][k][2], -a0, tolerance) << "term " << k + 1;
  }
}

}  // namespace
}  // namespace kavi::test
