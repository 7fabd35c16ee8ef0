#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "numerics/weibull.h"

namespace kavi::numerics {
namespace {

// Frequencies of a Weibull distribution binned into bins of the given width.
void BinWeibull(float A, float k, float width, int n, std::vector<float>& f,
                std::vector<float>& U) {
  f.resize(n);
  U.resize(n);
  for (int b = 0; b < n; ++b) {
    const double lower = b * width;
    const double upper = (b + 1) * width;
    f[b] =
        static_cast<float>(std::exp(-std::pow(lower / A, k)) - std::exp(-std::pow(upper / A, k)));
    U[b] = static_cast<float>(upper);
  }
}

TEST(LogGamma, AgreesWithTheLibraryToSinglePrecision) {
  // Within two units in the last place of the single-precision result (and
  // 1e-7 absolute near the zeros at 1 and 2).
  for (double x = 0.001; x <= 40.0; x += 0.0037) {
    const float xf = static_cast<float>(x);
    const double expected = std::lgamma(static_cast<double>(xf));
    const double tolerance = std::max(1e-7, 2.4e-7 * std::fabs(expected));
    EXPECT_NEAR(LogGamma(xf), expected, tolerance) << "x = " << x;
  }
  for (float x : {-0.5f, -1.5f, -3.25f, -10.7f, -30.3f}) {
    const double expected = std::lgamma(static_cast<double>(x));
    EXPECT_NEAR(LogGamma(x), expected, 2.4e-7 * std::fabs(expected)) << "x = " << x;
  }
  EXPECT_FLOAT_EQ(LogGamma(1e30f), std::lgamma(1e30f));
  EXPECT_TRUE(std::isinf(LogGamma(0.0f)));
  EXPECT_TRUE(std::isinf(LogGamma(-3.0f)));
}

TEST(GammaFunction, AgreesWithTheLibraryToSinglePrecision) {
  // Within two units in the last place of the single-precision result.
  for (double x = 0.001; x <= 34.0; x += 0.0031) {
    const float xf = static_cast<float>(x);
    EXPECT_NEAR(GammaFunction(xf) / std::tgamma(static_cast<double>(xf)), 1.0, 2.4e-7)
        << "x = " << x;
  }
  for (float x : {-0.5f, -1.5f, -2.25f, -7.6f, -20.1f, -33.5f}) {
    EXPECT_NEAR(GammaFunction(x) / std::tgamma(static_cast<double>(x)), 1.0, 2.4e-7) << "x = " << x;
  }
  EXPECT_EQ(GammaFunction(5.0f), 24.0f);
  EXPECT_FLOAT_EQ(GammaFunction(0.5f), std::sqrt(3.14159265f));
  EXPECT_EQ(GammaFunction(-60.5f), 0.0f);  // below the smallest single
  EXPECT_EQ(GammaFunction(-1e30f), 0.0f);  // and no endless shifting
}

TEST(FitWeibull, RecoversTheDistributionOfABinnedHistogram) {
  std::vector<float> f;
  std::vector<float> U;
  BinWeibull(8.0f, 2.0f, 1.0f, 30, f, U);
  float A = 0.0f;
  float k = 0.0f;
  FitWeibull(f.data(), U.data(), 30, A, k);
  // Midpoint moments of 1 m/s bins and the 0.003 bisection tolerance in 3/k.
  EXPECT_NEAR(A, 8.0f, 0.02f);
  EXPECT_NEAR(k, 2.0f, 0.01f);

  // Scale of the frequencies does not matter; other shapes are found as well.
  for (float& x : f) x *= 1000.0f;
  float A2 = 0.0f;
  float k2 = 0.0f;
  FitWeibull(f.data(), U.data(), 30, A2, k2);
  EXPECT_NEAR(A2, A, 1e-4f);
  EXPECT_NEAR(k2, k, 1e-4f);
  BinWeibull(6.0f, 1.4f, 0.5f, 100, f, U);
  FitWeibull(f.data(), U.data(), 100, A, k);
  EXPECT_NEAR(A, 6.0f, 0.02f);
  EXPECT_NEAR(k, 1.4f, 0.01f);
}

TEST(FitWeibull, KeepsTheMeanCubeAndTheExceedanceOfTheMean) {
  // An irregular histogram that no Weibull distribution matches exactly.
  const float f[] = {3, 9, 14, 20, 11, 6, 9, 2, 1, 0.5f};
  const float U[] = {1, 2, 4, 6, 7, 8, 10, 13, 16, 20};
  float A = 0.0f;
  float k = 0.0f;
  FitWeibull(f, U, 10, A, k);
  double T = 0, M = 0, C = 0, lower = 0;
  for (int b = 0; b < 10; ++b) {
    T += f[b];
    M += (lower + U[b]) / 2 * f[b];
    C += std::pow((lower + U[b]) / 2, 3) * f[b];
    lower = U[b];
  }
  M /= T;
  C /= T;
  EXPECT_NEAR(A * A * A * std::tgamma(1.0 + 3.0 / k) / C, 1.0, 1e-3);
  // M lies in the bin (4, 6]: its share above M plus every bin from 6 up.
  const double P = (f[3] * (6 - M) / 2 + f[4] + f[5] + f[6] + f[7] + f[8] + f[9]) / T;
  EXPECT_NEAR(std::exp(-std::pow(M / A, k)), P, 2e-3);
}

TEST(FitWeibull, HandlesFewAndEmptyBins) {
  const float U[] = {4.0f, 8.0f, 12.0f};
  float A = -1.0f;
  float k = -1.0f;
  FitWeibull(nullptr, nullptr, 0, A, k);
  EXPECT_EQ(A, 0.0f);
  EXPECT_EQ(k, 2.0f);
  const float one[] = {5.0f};
  FitWeibull(one, U, 1, A, k);
  EXPECT_FLOAT_EQ(A, 2.0f / 0.899f);
  EXPECT_EQ(k, 2.0f);

  // Two bins: mean from the midpoints, and exp(-(U1/A)^k) is the share above U1.
  const float two[] = {3.0f, 1.0f};
  FitWeibull(two, U, 2, A, k);
  EXPECT_FLOAT_EQ(A, (2.0f + 0.25f * 4.0f) / 0.886f);
  EXPECT_NEAR(std::exp(-std::pow(4.0f / A, k)), 0.25f, 1e-6f);
  // Nothing above the first limit: no finite shape, the default is kept.
  const float lowOnly[] = {3.0f, 0.0f};
  FitWeibull(lowOnly, U, 2, A, k);
  EXPECT_TRUE(std::isfinite(A));
  EXPECT_EQ(k, 2.0f);

  const float zeros[] = {0.0f, 0.0f, 0.0f};
  FitWeibull(zeros, U, 3, A, k);
  EXPECT_EQ(A, 0.0f);
  EXPECT_EQ(k, 2.0f);
  FitWeibull(zeros, U, 2, A, k);
  EXPECT_EQ(A, 0.0f);
  EXPECT_EQ(k, 2.0f);
}

}  // namespace
}  // namespace kavi::numerics
