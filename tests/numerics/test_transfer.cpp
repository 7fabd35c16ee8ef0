#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "numerics/support/climate_test_setup.h"
#include "numerics/support/test_core.h"
#include "numerics/weibull_transfer.h"

namespace kavi::numerics {
namespace {

using testing::LoadDefaultParameters;
using testing::UniformRose;

// ln Γ(1 + n/k)/n − ln Γ(1 + m/k)/m from the C library, independently of
// the core's LogGamma.
double MomentRatio(double k, int m, int n) {
  return std::lgamma(1.0 + n / k) / n - std::lgamma(1.0 + m / k) / m;
}

double Mean(double A, double k) { return A * std::tgamma(1.0 + 1.0 / k); }
double Deviation(double A, double k) {
  const double g1 = std::tgamma(1.0 + 1.0 / k);
  return A * std::sqrt(std::tgamma(1.0 + 2.0 / k) - g1 * g1);
}

TEST(SolveWeibullShape, RecoversTheShapeOfKnownMoments) {
  for (double k : {0.6, 1.0, 1.7, 2.0, 2.9, 4.4, 9.0, 30.0}) {
    for (int n : {2, 3}) {
      const float c = static_cast<float>(MomentRatio(k, 1, n));
      // Bisection stops with the ends 0.003 apart; the float residual adds a
      // little for large k, where G is flat.
      EXPECT_NEAR(SolveWeibullShape(c, 1, n), k, 0.002 + 0.001 * k) << "k " << k << " n " << n;
    }
  }
}

TEST(SolveWeibullShape, WithoutASignChangeStaysFiniteAndInRange) {
  // c = 0 (no spread) has no root: the bounded search returns its best shape.
  const float flat = SolveWeibullShape(0.0f, 1, 2);
  EXPECT_GE(flat, kMinSolvedShape);
  EXPECT_LE(flat, kMaxSolvedShape);
  EXPECT_EQ(flat, kMaxSolvedShape);  // G falls toward 0 as k grows
  // A huge spread asks for a shape below the range.
  EXPECT_EQ(SolveWeibullShape(50.0f, 1, 2), kMinSolvedShape);
  EXPECT_EQ(SolveWeibullShape(-1.0f, 1, 3), kMaxSolvedShape);
  EXPECT_EQ(SolveWeibullShape(std::numeric_limits<float>::quiet_NaN(), 1, 2), 2.0f);
  EXPECT_EQ(SolveWeibullShape(std::numeric_limits<float>::infinity(), 1, 2), 2.0f);
}

TEST(LandFraction, WaterAndLandAndTheWeightsOfAChange) {
  LoadDefaultParameters();
  EXPECT_EQ(UpstreamLandFraction(TestCore(), UniformRose(0.0f), 1), 0.0f);
  EXPECT_EQ(UpstreamLandFraction(TestCore(), UniformRose(0.00004f), 3), 0.0f);
  EXPECT_EQ(UpstreamLandFraction(TestCore(), UniformRose(0.03f), 1), 1.0f);
  EXPECT_EQ(UpstreamLandFraction(TestCore(), UniformRose(0.00005f), 12), 1.0f);

  const float W = 10000.0f;  // WIDTHCZ
  EXPECT_FLOAT_EQ(RoughnessChangeWeight(0.0f, W), 1.0f);
  const double atWidth = 1.0 - (1.0 - 2.0 / std::exp(1.0)) / 0.2645;  // ≈ 0.001
  EXPECT_NEAR(RoughnessChangeWeight(W, W), atWidth, 2e-5);
  EXPECT_LT(RoughnessChangeWeight(W, W), 0.002f);
  EXPECT_EQ(RoughnessChangeWeight(3.0f * W, W), 0.0f);

  // Water at the site and land beyond one change at distance d: E = 2w − 1,
  // so the land fraction is the change's weight w.
  RoughnessRose rose = UniformRose(0.0f);
  rose.changes[1] = 1;
  rose.z0[1][1] = 0.1f;
  rose.z0[2][1] = 0.1f;
  for (float d : {0.0f, 2000.0f, 5000.0f, W}) {
    rose.distance[0][1] = d;
    const double x = d / W;
    const double w = std::max(0.0, 1.0 - (1.0 - (1.0 + x) * std::exp(-x)) / 0.2645);
    EXPECT_NEAR(UpstreamLandFraction(TestCore(), rose, 2), w, 1e-5) << "d " << d;
  }
  // Land, then water from 2 km, then land again from 5 km.
  rose.changes[1] = 2;
  rose.z0[0][1] = 0.05f;
  rose.z0[1][1] = 0.0f;
  rose.z0[2][1] = 0.3f;
  rose.distance[0][1] = 2000.0f;
  rose.distance[1][1] = 5000.0f;
  const double w1 = RoughnessChangeWeight(2000.0f, W);
  const double w2 = RoughnessChangeWeight(5000.0f, W);
  const double E = (1.0 - w1) - (w1 - w2) + w2;
  EXPECT_NEAR(UpstreamLandFraction(TestCore(), rose, 2), (E + 1.0) / 2.0, 1e-5);
}

TEST(TransferWeibull, NeutralSameHeightReturnsTheDistribution) {
  LoadDefaultParameters();
  SetParameter(kStabilityFactor, 0.0f);  // the neutral model
  const RoughnessRose rose = UniformRose(0.03f);
  TransferFactors factors;
  ASSERT_TRUE(
      ComputeTransferFactors(TestCore(), 8.0f, 2.0f, rose, {0.03f, 50.0f, 50.0f, 1, 1}, factors));
  EXPECT_EQ(factors.mean, 1.0f);
  EXPECT_EQ(factors.spread, 1.0f);
  for (float k : {1.3f, 2.0f, 2.7f, 4.0f}) {
    float A = 8.0f;
    float shape = k;
    TransferWeibull(TestCore(), A, shape, rose, {0.03f, 50.0f, 50.0f, 5, kTransferToLand});
    EXPECT_NEAR(shape, k, 0.0015f + 0.001f * k);
    EXPECT_NEAR(A, 8.0f, 8.0f * 0.002f);
  }
  // So is the stability model: both sides see the same surface.
  LoadDefaultParameters();
  ASSERT_TRUE(
      ComputeTransferFactors(TestCore(), 8.0f, 2.0f, rose, {0.03f, 50.0f, 50.0f, 1, 1}, factors));
  EXPECT_EQ(factors.mean, 1.0f);
  EXPECT_EQ(factors.spread, 1.0f);
}

TEST(TransferWeibull, NeutralFactorsBetweenHeightsFollowTheProfileTerms) {
  LoadDefaultParameters();
  SetParameter(kStabilityFactor, 0.0f);
  const RoughnessRose rose = UniformRose(0.03f);
  // Land term at 100 m and upstream term at 10 m, both over 0.03 m with the
  // layer height DYLAND = 100 m, amplitude AOFSNEU, spread DYAMPLI and
  // offset 1/1.06 − 1.
  const double z0 = 0.03, H = 100.0, amplitude = 0.11, sigma = 0.12, offset = 1.0 / 1.06 - 1.0;
  auto shape = [&](double z) { return 1.0 - ((z - z0) / H) * std::log(H / z0) / std::log(z / z0); };
  const double Dto = shape(100.0), Dfrom = shape(10.0);
  const double M =
      (1.0 + (1.0 - Dto) * amplitude + offset) / (1.0 + (1.0 - Dfrom) * amplitude + offset);
  const double V = (1.0 + std::fabs(Dto) * sigma) / (1.0 + std::fabs(Dfrom) * sigma);
  TransferFactors factors;
  ASSERT_TRUE(
      ComputeTransferFactors(TestCore(), 7.0f, 2.0f, rose, {0.03f, 10.0f, 100.0f, 4, 1}, factors));
  EXPECT_NEAR(factors.mean, M, 1e-5);
  EXPECT_NEAR(factors.spread, V, 1e-5);

  // The new distribution keeps the scaled mean and standard deviation.
  float A = 7.0f;
  float k = 2.0f;
  TransferWeibull(TestCore(), A, k, rose, {0.03f, 10.0f, 100.0f, 4, kTransferToLand});
  const double wantMean = M * Mean(7.0, 2.0);
  const double wantDeviation = V * Deviation(7.0, 2.0);
  EXPECT_NEAR(Mean(A, k), wantMean, wantMean * 1e-3);
  EXPECT_NEAR(Deviation(A, k), wantDeviation, wantDeviation * 3e-3);
}

TEST(TransferWeibull, GeostrophicWindIsRaisedTo16) {
  LoadDefaultParameters();
  RoughnessRose rose = UniformRose(0.0f);  // water upstream …
  rose.changes[0] = 1;                     // … and land beyond 3 km
  rose.z0[1][0] = 0.1f;
  rose.distance[0][0] = 3000.0f;
  rose.z0[2][0] = 0.02f;
  // A = 3 m/s, k = 2 at 10 m over 0.03 m gives a drag-law G of about 8 m/s;
  // A = 15 m/s about 40 m/s. Below 16 m/s the factors no longer depend on A.
  auto factorsFor = [&](float A) {
    TransferFactors f;
    EXPECT_TRUE(ComputeTransferFactors(TestCore(), A, 2.0f, rose, {0.03f, 40.0f, 10.0f, 1, 1}, f));
    return f;
  };
  const double UE = 3.0 * std::sqrt(2.0), L = std::log(10.0 / 0.03), ustar = 0.4 * UE / L;
  const double G = UE / L * std::hypot(std::log(ustar / 3e-6) - 1.8, 4.5);
  ASSERT_LT(G, 16.0);
  const TransferFactors small = factorsFor(1.0f), moderate = factorsFor(3.0f);
  const TransferFactors strong = factorsFor(15.0f);
  EXPECT_EQ(small.mean, moderate.mean);
  EXPECT_EQ(small.spread, moderate.spread);
  EXPECT_NE(strong.mean, moderate.mean);
  // Raising G to 16 m/s in the parameter changes the weak-wind factors.
  SetParameter(kLowestGeostrophicWind, 20.0f);
  EXPECT_NE(factorsFor(3.0f).mean, moderate.mean);
}

TEST(TransferWeibull, ThereAndBackAgain) {
  // Atlas generation goes to water (direction 0) and the prediction comes
  // back from water (direction 2) at the same height: the factors invert.
  for (float stabfac : {0.0f, 0.002f}) {
    LoadDefaultParameters();
    SetParameter(kStabilityFactor, stabfac);
    RoughnessRose rose = UniformRose(0.0f);
    rose.changes[2] = 1;
    rose.z0[1][2] = 0.2f;
    rose.distance[0][2] = 4000.0f;
    rose.z0[2][2] = 0.05f;
    float A = 3.5f;  // weak enough that G stays at 16 m/s both ways
    float k = 1.8f;
    TransferWeibull(TestCore(), A, k, rose, {0.0002f, 25.0f, 25.0f, 3, kTransferToWater});
    EXPECT_NE(A, 3.5f);
    TransferWeibull(TestCore(), A, k, rose, {0.0002f, 25.0f, 25.0f, 3, kTransferToUpstream});
    EXPECT_NEAR(A, 3.5f, 3.5f * 0.004f) << "STABFAC " << stabfac;
    EXPECT_NEAR(k, 1.8f, 0.006f) << "STABFAC " << stabfac;
  }
}

TEST(TransferWeibull, DegenerateInputLeavesTheDistribution) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    float A, k, z0a, zFrom, zTo;
    int sector, direction;
  };
  const Case cases[] = {
      {8, 2, 0.03f, 10, 0.03f, 1, 1},     // target height equal to the class roughness
      {8, 2, 0.5f, 10, 0.3f, 1, 1},       // target height below it
      {8, 2, 0.03f, 0.03f, 0.03f, 1, 2},  // both heights at the roughness
      {8, 2, 0.03f, 10, 0, 1, 1},         // no target height
      {8, 2, 0.03f, 0, 10, 1, 2},         // direction 2 without a source height
      {8, 2, 0.03f, 10, -5, 1, 0},       {nan, 2, 0.03f, 10, 50, 1, 1},
      {8, nan, 0.03f, 10, 50, 1, 1},     {8, 2, 0.03f, nan, 50, 1, 1},
      {8, 2, 0.03f, 10, inf, 1, 1},      {0, 2, 0.03f, 10, 50, 1, 1},
      {-3, 2, 0.03f, 10, 50, 1, 1},      {8, 0, 0.03f, 10, 50, 1, 1},
      {8, 2, 0.03f, 10, 50, 0, 1},       {8, 2, 0.03f, 10, 50, 37, 1},
      {8, 2, 0.03f, 10, 50, 1, 3},
  };
  const RoughnessRose rose = UniformRose(0.03f);
  for (float stabfac : {0.002f, 0.0f}) {
    LoadDefaultParameters();
    SetParameter(kStabilityFactor, stabfac);
    for (const Case& c : cases) {
      float A = c.A;
      float k = c.k;
      TransferWeibull(TestCore(), A, k, rose, {c.z0a, c.zFrom, c.zTo, c.sector, c.direction});
      EXPECT_TRUE(std::isnan(c.A) ? std::isnan(A) : A == c.A) << c.zFrom << " " << c.zTo;
      EXPECT_TRUE(std::isnan(c.k) ? std::isnan(k) : k == c.k) << c.zFrom << " " << c.zTo;
    }
  }
  // The neutral model with the source at the upstream roughness.
  float A = 8.0f;
  float k = 2.0f;
  TransferWeibull(TestCore(), A, k, rose, {0.03f, 0.03f, 10.0f, 1, kTransferToLand});
  EXPECT_EQ(A, 8.0f);
  EXPECT_EQ(k, 2.0f);
}

TEST(TransferWeibull, ExtremeButValidInputStaysFinite) {
  LoadDefaultParameters();
  RoughnessRose rose = UniformRose(0.03f);
  rose.changes[0] = 10;  // ten changes, every ring used
  for (int r = 0; r < kRoughnessRings; ++r) rose.z0[r][0] = r % 2 ? 0.0f : 1.5f;
  for (int d = 0; d < kDistanceRings; ++d) rose.distance[d][0] = 500.0f * (d + 1);
  for (float stabfac : {0.0f, 0.002f}) {
    SetParameter(kStabilityFactor, stabfac);
    for (float A0 : {1e-6f, 12.0f, 1e30f}) {
      for (float k0 : {0.3f, 2.0f, 12.0f}) {
        for (int direction : {0, 1, 2}) {
          float A = A0;
          float k = k0;
          TransferWeibull(TestCore(), A, k, rose, {0.4f, 8.0f, 180.0f, 1, direction});
          EXPECT_TRUE(std::isfinite(A) && A > 0.0f) << A0 << " " << k0 << " " << direction;
          EXPECT_TRUE(std::isfinite(k) && k > 0.0f) << A0 << " " << k0 << " " << direction;
        }
      }
    }
  }
}

}  // namespace
}  // namespace kavi::numerics
