#include "numerics/weibull_fit.h"

#include <cmath>

#include "numerics/bracketed_root.h"
#include "numerics/gamma.h"

namespace kavi::numerics {

namespace {

constexpr float kDefaultShape = 2.0f;
// Mean speed over A of a distribution of shape 2 (Γ(1.5)), and the ratio of
// a single bin's midpoint to A taken for a one-bin histogram.
constexpr float kMeanOverScaleShape2 = 0.886f;
constexpr float kSingleBinRatio = 0.899f;
constexpr float kCubeRootExponent = 0.3333f;
// Bracket search for x = 3 / k: start, smallest lower and largest upper end
// (five halvings and doublings from the start), bisection tolerance.
constexpr float kShapeStart = 1.5f;
constexpr float kShapeLowerLimit = 0.05f;
constexpr float kShapeUpperLimit = 30.0f;
constexpr float kBisectionTolerance = 0.003f;

// A and k of a distribution with shape 2 and the given mean speed.
void FitShapeTwo(float mean, float& A, float& k) {
  A = mean > 0.0f ? mean / kMeanOverScaleShape2 : 0.0f;
  k = kDefaultShape;
}

// Two bins: the mean from the bin midpoints and the shape from the
// probability of exceeding the first limit.
void FitTwoBins(const float* f, const float* U, float& A, float& k) {
  const float S = f[0] + f[1];
  if (!(S > 0.0f)) {
    A = 0.0f;
    k = kDefaultShape;
    return;
  }
  const float above = f[1] / S;
  const float M = U[0] / 2.0f + above * (U[1] / 2.0f);
  A = M / kMeanOverScaleShape2;
  const float shape = std::log(-std::log(above)) / std::log(U[0] / A);
  // A histogram with nothing (or everything) above the first limit has no
  // finite shape; keep the default one then.
  k = std::isfinite(shape) && shape > 0.0f ? shape : kDefaultShape;
}

// G(x) = ln Γ(1 + x) + q − x L; its root is x = 3 / k.
struct ShapeEquation {
  float q;
  float L;
  float operator()(float x) const { return LogGamma(1.0f + x) + q - x * L; }
};

}  // namespace

void FitWeibull(const float* f, const float* U, int n, float& A, float& k) {
  if (n <= 0) {
    A = 0.0f;
    k = kDefaultShape;
    return;
  }
  if (n == 1) {
    A = (U[0] / 2.0f) / kSingleBinRatio;
    k = kDefaultShape;
    return;
  }
  if (n == 2) {
    FitTwoBins(f, U, A, k);
    return;
  }
  float T = 0.0f;
  for (int b = 0; b < n; ++b) T += f[b];
  if (!(T > 0.0f)) {
    A = 0.0f;
    k = kDefaultShape;
    return;
  }
  // Mean and mean cube of the speed from the bin midpoints.
  float M = 0.0f;
  float C = 0.0f;
  float lowerLimit = 0.0f;
  for (int b = 0; b < n; ++b) {
    const float sum = lowerLimit + U[b];
    M += sum * f[b] / (2.0f * T);
    C += sum * sum * sum * f[b] / (8.0f * T);
    lowerLimit = U[b];
  }
  // Probability of exceeding the mean: whole bins above it plus the share of
  // the bin that holds it.
  float P = 0.0f;
  int m = n;  // first bin (from 0) whose lower limit exceeds M; n if none
  for (int b = 0; b < n; ++b) {
    const float lower = b > 0 ? U[b - 1] : 0.0f;
    if (lower > M) {
      P += f[b] / T;
      if (m == n) m = b;
    }
  }
  if (m >= 1) {
    const float d = U[m - 1];
    const float e = m >= 2 ? U[m - 2] : 0.0f;
    if (d > e) P += f[m - 1] / T * (d - M) / (d - e);
  }
  // Without a mean, a mean cube and a proper exceedance probability the
  // equation for the shape has no solution; fall back to shape 2.
  if (!(M > 0.0f && C > 0.0f && P > 0.0f && P < 1.0f)) {
    FitShapeTwo(M, A, k);
    return;
  }
  const ShapeEquation G{3.0f * std::log(M) - std::log(C), std::log(-std::log(P))};
  const float x =
      BracketedRoot(G, kShapeStart, kShapeLowerLimit, kShapeUpperLimit, kBisectionTolerance);
  k = 3.0f / x;
  A = std::pow(C / GammaFunction(1.0f + x), kCubeRootExponent);
}

}  // namespace kavi::numerics
